#include "map_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

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

// Where a spreadsheet's separator follows a number in a data piece: the
// offset of the ';' or ',' or -1.
int separatorAfterNumber(const char* piece)
{
    for (const char* p = piece; *p; ++p) {
        if (!std::isdigit(static_cast<unsigned char>(*p)))
            continue;
        const char* q = p + 1;
        while (*q == ' ' || *q == '\t')
            ++q;
        if (*q == ';' || *q == ',')
            return static_cast<int>(q - piece);
    }
    return -1;
}

// A text taken from the file, safe to print and show: at most 24 characters,
// with control bytes, bytes that are not UTF-8 and invisible characters
// written as \xNN.
std::string printable(std::string_view token)
{
    std::string out;
    int shown = 0;
    for (size_t i = 0; i < token.size() && shown < 24; ++shown) {
        const auto b = static_cast<unsigned char>(token[i]);
        size_t n = 1;
        bool keep = b > 0x20 && b < 0x7F;
        if (b >= 0xC2 && b < 0xF5) {
            n = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            uint32_t cp = b & (0x3F >> (n - 1));
            bool valid = i + n <= token.size();
            for (size_t k = 1; valid && k < n; ++k) {
                const auto cont = static_cast<unsigned char>(token[i + k]);
                valid = (cont & 0xC0) == 0x80;
                cp = (cp << 6) | (cont & 0x3F);
            }
            // Letters and signs from U+00A0 on; no format marks or spaces.
            const uint32_t least = n == 3 ? 0x800 : n == 4 ? 0x10000 : 0;  // no overlong forms
            keep = valid && cp >= 0xA0 && cp >= least && cp <= 0x10FFFF && cp != 0xFEFF &&
                   !(cp >= 0x2000 && cp <= 0x206F) && !(cp >= 0xD800 && cp <= 0xDFFF);
            if (!valid)
                n = 1;
        }
        if (keep) {
            out.append(token.substr(i, n));
        } else {
            for (size_t k = 0; k < n; ++k) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(token[i + k]));
                out += hex;
            }
        }
        i += n;
        if (shown == 23 && i < token.size())
            out += "...";
    }
    return out;
}

// Where the reading of a row stopped: after the last value read, past any
// blanks.
const char* afterRow(const char* piece, int n, const int* starts)
{
    const char* rest = piece;
    if (n > 0) {
        char* end = nullptr;
        std::strtol(piece + starts[n - 1], &end, 10);
        rest = end;
    }
    while (*rest == ' ' || *rest == '\t')
        ++rest;
    return rest;
}

// A problem's text made in one string of the size it needs: a damaged file
// may hold hundreds of codes out of range, and a text grown piece by piece
// would be made again at every piece.
std::string joined(std::initializer_list<std::string_view> parts)
{
    size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts)
        text += part;
    return text;
}

// Why a row of fewer than 30 numbers stops where it does: its end, a number
// out of range or something that is no number.
std::string shortRow(const std::string& row, int n, const char* rest, bool lineEnds)
{
    const std::string token(rest, std::strcspn(rest, " \t\r\n"));
    const std::string read = std::to_string(n), next = std::to_string(n + 1);
    if (lineEnds)
        return joined({"la ", row, " tiene ", read, " códigos de los 30 que necesita."});
    if (isWholeNumber(token))
        return joined({"la ", row, " tiene el número ", token, " en la casilla ", next,
                       ", fuera de rango (los códigos van de 0 a 12)."});
    return joined({"la ", row, " tiene \"", printable(token), "\" donde va el código de la casilla ", next,
                   " (un número de 0 a 12)."});
}

// The first 30 numbers of a data piece into row r; what stops the reading and
// what is left after the 30th are noted with their columns.
void readRow(const char* piece, MapPlace at, int r, MapText& out)
{
    int32_t values[kGridSize];
    int starts[kGridSize];
    const int n = parseRow(piece, values, kGridSize, starts);
    out.numbersRead[r] = n;
    const std::string row = "fila " + std::to_string(r + 1);
    for (int c = 0; c < n; ++c) {
        out.codes[r][c] = values[c];
        out.places[r][c] = {at.line, at.column + starts[c]};
        if (values[c] < 0 || values[c] > MapCode::Highest)
            out.errors.push_back({out.places[r][c], joined({"el código ", std::to_string(values[c]), " (", row,
                                                            ", casilla ", std::to_string(c + 1),
                                                            ") no existe; los códigos van de 0 a 12."})});
    }
    const char* rest = afterRow(piece, n, starts);
    const bool lineEnds = *rest == '\0' || *rest == '\n' || *rest == '\r';
    const MapPlace stop{at.line, at.column + static_cast<int>(rest - piece)};
    // A row of fewer than 30 numbers would leave squares of the previous
    // map behind, read as map codes: the game refuses it.
    if (n < kGridSize)
        out.errors.push_back({stop, shortRow(row, n, rest, lineEnds)});
    else if (!lineEnds)
        out.ignored.push_back({stop, "el juego no lee lo que sigue al código 30 de la " + row + "."});
}

// A map saved from a spreadsheet separates its numbers with ';' or ','.
// The game does not read it, and one message says so: the rows are read
// as if spaced, for the drawing and for whatever else is wrong.
struct Separators {
    MapPlace first;
    char separator = 0;
    int rows = 0;

    void respace(char* piece, MapPlace at)
    {
        const int sep = separatorAfterNumber(piece);
        if (sep < 0)
            return;
        if (separator == 0) {
            separator = piece[sep];
            first = {at.line, at.column + sep};
        }
        ++rows;
        for (char* p = piece; *p; ++p)
            if (*p == ';' || *p == ',')
                *p = ' ';
    }

    MapProblem problem() const
    {
        return {first, std::string("los números están separados con \"") + separator + "\" (en " +
                           std::to_string(rows) + (rows == 1 ? " fila" : " filas") +
                           "): separe los números con espacios; quorvane-mapa --convertir lo hace."};
    }
};

// Where the piece after this one begins, read before its line end is folded.
MapPlace placeAfter(MapPlace at, const char* piece)
{
    const size_t len = std::strlen(piece);
    if (len > 0 && piece[len - 1] == '\n')
        return {at.line + 1, 1};
    return {at.line, at.column + static_cast<int>(len)};
}

// What the map as a whole lacks, once every row is read.
void checkWholeMap(MapText& out, int lastLine, const Separators& separators)
{
    const int rows = out.rowsRead;
    if (separators.separator != 0)
        out.errors.insert(out.errors.begin(), separators.problem());
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
    Separators separators;
    while (pieces.next(piece)) {
        const MapPlace at = next;
        lastLine = at.line;
        next = placeAfter(at, piece);
        foldLineEnd(piece);
        if (skipped(piece))
            continue;
        if (rows == kGridSize) {
            out.ignored.push_back({at, "el juego lee solo las 30 primeras filas; lo que sigue no cuenta."});
            break;
        }
        if (at.column > 1)
            out.ignored.push_back({at, "la línea pasa de 254 caracteres: el juego lee desde aquí como otra fila."});
        separators.respace(piece, at);
        readRow(piece, at, rows++, out);
    }
    out.rowsRead = rows;
    checkWholeMap(out, lastLine, separators);
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

std::string mapInGameFormat(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '/') {
            out.append(line);
        } else {
            // Numbers one space apart, whatever separated them.
            bool blank = true;
            for (char ch : line) {
                const bool separator = ch == ' ' || ch == '\t' || ch == ';' || ch == ',' || ch == '\r';
                if (separator && !blank)
                    out += ' ';
                else if (!separator)
                    out += ch;
                blank = separator;
            }
            if (!out.empty() && out.back() == ' ')
                out.pop_back();
        }
        out += '\n';
    }
    return out;
}
