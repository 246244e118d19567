#include "map_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "map_codes.h"
#include "regular_file.h"

namespace {
// CR LF reads as LF, as through a text stream.
void foldLineEnd(char* buffer)
{
    const size_t len = std::strlen(buffer);
    if (len >= 2 && buffer[len - 2] == '\r' && buffer[len - 1] == '\n') {
        buffer[len - 2] = '\n';
        buffer[len - 1] = '\0';
    }
}

bool skipped(const char* buffer) { return buffer[0] == '/' || buffer[0] == '\n'; }

// The first 30 numbers of a data piece into row r; what stops the reading and
// what is left after the 30th are noted with their columns.
void readRow(const char* piece, MapPlace at, int r, MapText& out)
{
    int32_t values[kGridSize];
    int starts[kGridSize];
    const int n = parseRow(piece, values, kGridSize, starts);
    const std::string row = "fila " + std::to_string(r + 1);
    for (int c = 0; c < n; ++c) {
        out.codes[r][c] = values[c];
        out.places[r][c] = {at.line, at.column + starts[c]};
        if (values[c] < 0 || values[c] > MapCode::Highest)
            out.errors.push_back({out.places[r][c], "el código " + std::to_string(values[c]) + " (" + row +
                                                        ", casilla " + std::to_string(c + 1) +
                                                        ") no existe; los códigos van de 0 a 12."});
    }
    // Where parsing stopped: after the last value read, past any blanks.
    const char* rest = piece;
    if (n > 0) {
        char* end = nullptr;
        std::strtol(piece + starts[n - 1], &end, 10);
        rest = end;
    }
    while (*rest == ' ' || *rest == '\t')
        ++rest;
    const bool lineEnds = *rest == '\0' || *rest == '\n' || *rest == '\r';
    const MapPlace stop{at.line, at.column + static_cast<int>(rest - piece)};
    // A row of fewer than 30 numbers would leave squares of the previous
    // map behind, read as map codes: the game refuses it.
    if (n < kGridSize) {
        std::string what;
        const std::string token(rest, std::strcspn(rest, " \t\r\n"));
        if (lineEnds)
            what = "la " + row + " tiene " + std::to_string(n) + " códigos de los 30 que necesita.";
        else if (isWholeNumber(token))
            what = "la " + row + " tiene el número " + token + " en la casilla " + std::to_string(n + 1) +
                   ", fuera de rango (los códigos van de 0 a 12).";
        else
            what = "la " + row + " tiene \"" + token +
                   "\" donde va el código de la casilla " + std::to_string(n + 1) +
                   " (un número de 0 a 12).";
        out.errors.push_back({stop, what});
    } else if (!lineEnds) {
        out.ignored.push_back({stop, "el juego no lee lo que sigue al código 30 de la " + row + "."});
    }
}
}

bool isWholeNumber(std::string_view text)
{
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool TextPieces::next(char* buffer)
{
    if (at_ >= text_.size()) {
        buffer[0] = '\0';
        return false;
    }
    size_t take = std::min(text_.size() - at_, static_cast<size_t>(kLineBufferSize - 1));
    const size_t lineEnd = text_.find('\n', at_);
    if (lineEnd != std::string_view::npos && lineEnd - at_ < take)
        take = lineEnd - at_ + 1;
    std::memcpy(buffer, text_.data() + at_, take);
    buffer[take] = '\0';
    at_ += take;
    return true;
}

bool readDataLine(TextPieces& text, char* buffer)
{
    for (;;) {
        if (!text.next(buffer)) {
            buffer[0] = '\0';
            return false;
        }
        foldLineEnd(buffer);
        if (!skipped(buffer))
            return true;
    }
}

int parseRow(const char* line, int32_t* out, int count, int* starts)
{
    const char* p = line;
    int n = 0;
    while (n < count) {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
            break;
        if (starts) {
            const char* first = p;
            while (std::isspace(static_cast<unsigned char>(*first)))
                ++first;
            starts[n] = static_cast<int>(first - line);
        }
        out[n++] = static_cast<int32_t>(v);
        p = end;
    }
    return n;
}

bool readMapText(const std::string& name, MapText& out)
{
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(name, bytes, kMaxTextFileBytes, &why)) {
        out = MapText{};
        out.errors.push_back({{}, "no se pudo abrir: " + why + "."});
        return false;
    }
    return parseMapText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), out);
}

bool parseMapText(std::string_view text, MapText& out)
{
    out = MapText{};
    // The same pieces readDataLine gives, with the line and column each
    // begins at: a line longer than 254 characters comes in several.
    TextPieces pieces(text);
    char piece[kLineBufferSize];
    MapPlace next{1, 1};
    int rows = 0;
    int lastLine = 0;
    while (pieces.next(piece)) {
        const MapPlace at = next;
        const size_t len = std::strlen(piece);
        lastLine = at.line;
        if (len > 0 && piece[len - 1] == '\n')
            next = {next.line + 1, 1};
        else
            next.column += static_cast<int>(len);
        foldLineEnd(piece);
        if (skipped(piece))
            continue;
        if (rows == kGridSize) {
            out.ignored.push_back({at, "el juego lee solo las 30 primeras filas; lo que sigue no cuenta."});
            break;
        }
        if (at.column > 1)
            out.ignored.push_back({at, "la línea pasa de 254 caracteres: el juego lee desde aquí como otra fila."});
        readRow(piece, at, rows++, out);
    }
    if (rows < kGridSize)
        out.errors.push_back({{lastLine, 1}, "el archivo termina con " + std::to_string(rows) +
                                                 " filas de las 30 que necesita."});
    // Without a start square the player would stand wherever the last level
    // left him, and a game saved on it could not be loaded again.
    bool start = false;
    for (int r = 0; r < rows; ++r)
        for (int32_t code : out.codes[r])
            start = start || code == MapCode::Start;
    if (!start)
        out.errors.push_back({{}, "no tiene casilla de inicio (código 1)."});
    return out.errors.empty();
}

std::string describeMapProblem(const std::string& name, const MapProblem& problem)
{
    std::string text = "El mapa \"" + name + "\"";
    if (problem.place.line > 0) {
        text += ", línea " + std::to_string(problem.place.line);
        if (problem.place.column > 0)
            text += ", columna " + std::to_string(problem.place.column);
    }
    return text + ": " + problem.text;
}
