#include "saved_game_format.h"

#include <cstdlib>
#include <cstring>

#include "game_state.h"
#include "map_file.h"
#include "text_lines.h"

namespace {
constexpr int32_t kHighestKind = CellKind::Trap;
const char* const kActionLetters = "SHJKEQRW";

bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// The journal ends at "FIN"; a line end after it, as an editor may add, is
// taken as the same end.
bool isEndLine(const char* line)
{
    if (std::strncmp(line, "FIN", 3) != 0)
        return false;
    for (const char* p = line + 3; *p; ++p)
        if (*p != '\r' && *p != '\n')
            return false;
    return true;
}

// Everything one read needs to tell what went wrong and where.
struct Reader {
    TextPieces in;
    const std::string& name;
    std::string* error;
    char line[kLineBufferSize];

    bool fail(const std::string& what)
    {
        if (error)
            *error = "La partida guardada \"" + name + "\" no se puede cargar: " + what + ".";
        return false;
    }
};

// The text at which reading stopped after n values: up to the next blank.
std::string valueAt(const char* line, int n, const int* starts)
{
    const char* p = line;
    if (n > 0) {
        char* end = nullptr;
        std::strtol(line + starts[n - 1], &end, 10);
        p = end;
    }
    while (isBlank(*p))
        ++p;
    return std::string(p, std::strcspn(p, " \t\r\n"));
}

bool readGrid(Reader& reader, SavedGameRecord& out)
{
    for (int r = 0; r < kGridSize; ++r) {
        if (!readDataLine(reader.in, reader.line))
            return reader.fail("el archivo termina en la fila " + std::to_string(r + 1) +
                               " del mapa, antes de las 30");
        int starts[kGridSize];
        const int n = parseRow(reader.line, out.kinds[r], kGridSize, starts);
        if (n < kGridSize) {
            const std::string token = valueAt(reader.line, n, starts);
            if (isWholeNumber(token))
                return reader.fail("la fila " + std::to_string(r + 1) + " del mapa tiene el número " + token +
                                   " en la casilla " + std::to_string(n + 1) + ", fuera de 0 a 19");
            return reader.fail("la fila " + std::to_string(r + 1) + " del mapa tiene " +
                               std::to_string(n) + " números de los 30 que necesita");
        }
        for (int c = 0; c < kGridSize; ++c)
            if (out.kinds[r][c] < 0 || out.kinds[r][c] > kHighestKind)
                return reader.fail("la fila " + std::to_string(r + 1) + " del mapa tiene el valor " +
                                   std::to_string(out.kinds[r][c]) + ", fuera de 0 a 19");
    }
    for (const auto& row : out.kinds)
        for (int32_t kind : row)
            if (kind == CellKind::Start)
                return true;
    return reader.fail("el mapa no tiene casilla de inicio");
}

bool readEntries(Reader& reader, SavedGameRecord& out)
{
    out.entryCount = 0;
    while (out.entryCount < kJournalSize) {
        const std::string number = std::to_string(out.entryCount + 1);
        if (!readDataLine(reader.in, reader.line))
            return reader.fail("el archivo termina sin \"FIN\" tras " +
                               std::to_string(out.entryCount) + " acciones");
        if (isEndLine(reader.line)) {
            // The closing copy: the last entry's wait comes out as zero.
            if (out.entryCount > 0)
                out.entries[out.entryCount] = out.entries[out.entryCount - 1];
            return true;
        }
        JournalEntry& entry = out.entries[out.entryCount];
        if (!parseTickLine(reader.line, entry.tick)) {
            const std::string token = valueAt(reader.line, 0, nullptr);
            if (isWholeNumber(token))
                return reader.fail("el tiempo de la acción " + number + " (" + token +
                                   ") está fuera del rango de 32 bits");
            return reader.fail("el tiempo de la acción " + number + " no es un número válido");
        }
        if (!readDataLine(reader.in, reader.line))
            return reader.fail("el archivo termina antes de la letra de la acción " + number);
        if (reader.line[0] == '\0' || !std::strchr(kActionLetters, reader.line[0]))
            return reader.fail("la acción " + number + " no es una de S, H, J, K, E, Q, R, W");
        entry.key = reader.line[0];
        ++out.entryCount;
    }
    return true;
}
}

void writeSavedGame(std::FILE* out, const Grid& grid, const Journal& journal)
{
    writeGrid(out, grid);
    const int32_t count = journal.journalCount < kJournalSize ? journal.journalCount : kJournalSize;
    for (int32_t i = 0; i < count; ++i) {
        writeNumberLine(out, asSigned(journal.entries[i].tick));
        const char letter[2] = {journal.entries[i].key, '\0'};
        writeLine(out, letter);
    }
    writeText(out, "FIN");
}

bool parseTickLine(const char* line, Tick& tick)
{
    const char* p = line;
    while (isBlank(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    const uint64_t limit = negative ? 0x80000000ull : 0xFFFFFFFFull;
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > limit)
            return false;
    }
    while (isBlank(*p))
        ++p;
    if (*p != '\0')
        return false;
    tick = static_cast<Tick>(negative ? 0 - value : value);
    return true;
}

bool readSavedGame(std::string_view text, const std::string& name, SavedGameRecord& out, std::string* error)
{
    Reader reader{TextPieces(text), name, error, {}};
    return readGrid(reader, out) && readEntries(reader, out);
}
