#include "report_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "map_file.h"
#include "regular_file.h"
#include "saved_game_format.h"
#include "text.h"

namespace {
// A report holds at most 3000 sentences and 500 steps; anything much larger
// is not one, and is not read into memory whole.
constexpr size_t kLargestReport = 4 << 20;
constexpr size_t kMostSentences = 3000;
constexpr size_t kMostSteps = 500;

struct CounterText {
    const char* label;  // Windows-1252, as written
    const char* shown;  // UTF-8
    const char* column;
};
// 0xBA is the ordinal sign in Windows-1252.
const CounterText kCounters[kCounterCount] = {
    {"Tiempo de juego :", "Tiempo de juego (s)", "tiempo_juego_s"},
    {"N\xBA Disparos errados :", "Nº Disparos errados", "disparos_errados"},
    {"Disparos errados a monstruos :", "Disparos errados a monstruos", "errados_monstruos"},
    {"Disparos errados a mutantes :", "Disparos errados a mutantes", "errados_mutantes"},
    {"Disparos errados a supermonstruos :", "Disparos errados a supermonstruos", "errados_supermonstruos"},
    {"Disparos errados en pasillo :", "Disparos errados en pasillo", "errados_pasillo"},
    {"N\xBA Pasos en falso :", "Nº Pasos en falso (choques con la pared)", "pasos_en_falso"},
    {"N\xBA Pasos con monstruo :", "Nº Pasos con monstruo", "pasos_con_monstruo"},
    {"Choque contra la puerta :", "Choque contra la puerta", "choques_puerta"},
    {"Error al tomar las balas :", "Error al tomar las balas", "errores_balas"},
    {"N\xBA Pasos avanzados :", "Nº Pasos avanzados", "pasos"},
    {"Balas Final :", "Balas al final", "balas_final"},
};

// The lines of the file, each without its line end, read one at a time with
// its number for the reasons.
class Lines {
public:
    explicit Lines(std::string text) : text_(std::move(text)) {}
    bool next(std::string& line)
    {
        if (pos_ > text_.size())
            return false;
        const size_t end = text_.find('\n', pos_);
        line = text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        pos_ = end == std::string::npos ? text_.size() + 1 : end + 1;
        ++number_;
        return true;
    }
    int number() const { return number_; }
    bool atEnd() const { return pos_ > text_.size(); }

private:
    std::string text_;
    size_t pos_ = 0;
    int number_ = 0;
};

bool parseNumber(const std::string& line, int32_t& value)
{
    const char* p = line.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (end == p || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

struct Parser {
    Lines lines;
    Report& out;
    std::string& reason;
    std::string line;

    bool fail(const std::string& why)
    {
        // A fault on the file's last line is most often a file cut short.
        reason = std::string(lines.atEnd() ? "el informe está cortado: " : "") + "línea " +
                 std::to_string(lines.number()) + ": " + why;
        return false;
    }
    bool next(const char* expected)
    {
        if (lines.next(line))
            return true;
        reason = "el informe está cortado: termina en la línea " + std::to_string(lines.number()) +
                 " donde falta " + expected + ".";
        return false;
    }
    bool label(const char* text)
    {
        const std::string shown = "\"" + utf8FromGameText(text) + "\"";
        if (!next(shown.c_str()))
            return false;
        // A report saved again from a UTF-8 editor still reads.
        if (line == text || utf8FromGameText(line) == utf8FromGameText(text))
            return true;
        return fail("se esperaba " + shown + ".");
    }
    bool number(int32_t& value, const char* what)
    {
        if (!next(what))
            return false;
        return parseNumber(line, value) || fail(std::string("se esperaba ") + what + ", no \"" +
                                                utf8FromGameText(line.substr(0, 40)) + "\".");
    }

    bool grid()
    {
        for (int r = 0; r < kGridSize; ++r) {
            if (!next("la cuadrícula"))
                return false;
            int32_t values[kGridSize];
            const int n = parseRow(line.c_str(), values, kGridSize);
            bool fits = n == kGridSize;
            for (int c = 0; c < n && fits; ++c)
                fits = values[c] >= 0 && values[c] <= CellKind::Trap;
            if (!fits)
                return r == 0 ? (reason = "no es un informe de Quorvane: no empieza con la cuadrícula del nivel.",
                                 false)
                              : fail("la fila " + std::to_string(r + 1) + " de la cuadrícula no tiene 30 casillas "
                                     "de 0 a 19.");
            std::memcpy(out.kinds[r], values, sizeof values);
        }
        return true;
    }

    bool sentences()
    {
        for (;;) {
            if (!next("\"DATOS :\""))
                return false;
            if (line == "DATOS :")
                return true;
            // The game keeps the first 3000 sentences of a level.
            if (out.sentences.size() == kMostSentences)
                return fail("más de 3000 mensajes: no es un informe del juego.");
            ReportSentence sentence;
            if (!parseTickLine(line.c_str(), sentence.tick))
                return fail("se esperaba la hora de un mensaje o \"DATOS :\".");
            if (!next("un mensaje"))
                return false;
            sentence.text = utf8FromGameText(line);
            out.sentences.push_back(std::move(sentence));
        }
    }

    bool data()
    {
        if (!label("Nombre :") || !next("el nombre"))
            return false;
        out.player = utf8FromGameText(line);
        if (!label("Mapa :") || !next("el mapa"))
            return false;
        out.map = utf8FromGameText(line);
        for (int i = PlayingSeconds; i <= BulletGrabErrors; ++i)
            if (!label(kCounters[i].label) || !number(out.counters[i], "un número"))
                return false;
        if (!label("Juego Exitoso :") || !next("\"Sí\" o \"No\""))
            return false;
        const std::string outcome = utf8FromGameText(line);
        if (outcome != "Sí" && outcome != "No")
            return fail("se esperaba \"Sí\" o \"No\".");
        out.reachedEnd = outcome == "Sí";
        for (int i = StepCount; i <= FinalBullets; ++i)
            if (!label(kCounters[i].label) || !number(out.counters[i], "un número"))
                return false;
        return label("Camino Avanzado :");
    }

    bool path()
    {
        for (;;) {
            if (!next("\"FIN\""))
                return false;
            if (line == "FIN")
                break;
            if (out.path.size() == kMostSteps)
                return fail("más de 500 pasos: no es un informe del juego.");
            ReportStep step;
            if (!parseTickLine(line.c_str(), step.tick))
                return fail("se esperaba la hora de un paso o \"FIN\".");
            if (!number(step.row, "la fila del paso") || !number(step.col, "la columna del paso"))
                return false;
            if (step.row < 0 || step.row >= kGridSize || step.col < 0 || step.col >= kGridSize)
                return fail("el paso queda fuera de la cuadrícula.");
            out.path.push_back(step);
        }
        std::string after;
        while (lines.next(after))
            if (!after.empty())
                return fail("hay texto después de \"FIN\".");
        if (static_cast<int32_t>(out.path.size()) != out.counters[StepCount])
            return fail("el camino tiene " + std::to_string(out.path.size()) + " pasos y el informe dice " +
                        std::to_string(out.counters[StepCount]) + ".");
        return true;
    }
};
}

const char* counterLabel(Counter counter) { return kCounters[counter].shown; }
const char* counterColumn(Counter counter) { return kCounters[counter].column; }

bool parseReport(std::string_view bytes, const std::string& name, Report& out, std::string& reason)
{
    out = Report{};
    out.file = name;
    if (bytes.size() > kLargestReport) {
        reason = "no es un informe de Quorvane: es demasiado grande.";
        return false;
    }
    Parser parser{Lines(std::string(bytes)), out, reason, {}};
    if (!parser.grid() || !parser.sentences() || !parser.data() || !parser.path())
        return false;
    const size_t slash = name.find_last_of('/');
    out.written = timeFromReportName(slash == std::string::npos ? name : name.substr(slash + 1));
    return true;
}

bool readReport(const std::string& path, Report& out, std::string& reason)
{
    // Through the game's own reader: a pipe or a device named like a report
    // is refused at once instead of holding the tool for ever.
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(path, bytes, kLargestReport, &why)) {
        out = Report{};
        out.file = path;
        reason = "no se puede abrir: " + why + ".";
        return false;
    }
    return parseReport(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path, out,
                       reason);
}

std::optional<std::time_t> timeFromReportName(const std::string& fileName)
{
    // "_Mon_Mar__3_09_07_02_2008.db1": the 24 characters of the time text.
    const std::string suffix = ".db1";
    if (fileName.size() < 24 + suffix.size() ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    // Reports of one player within one second are kept as "..._2008-2.db1",
    // "-3", ... "-12": the number is not part of the time.
    const size_t stemEnd = fileName.size() - suffix.size();
    const size_t mark = fileName.find_last_not_of("0123456789", stemEnd - 1);
    const size_t dateEnd = mark != std::string::npos && fileName[mark] == '-' && mark + 1 < stemEnd ? mark : stemEnd;
    if (dateEnd < 24)
        return std::nullopt;
    std::string date = fileName.substr(dateEnd - 24, 24);
    for (char& ch : date)
        if (ch == '_')
            ch = ' ';
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char day[4] = {}, month[4] = {};
    int mday = 0, hour = 0, minute = 0, second = 0, year = 0;
    if (std::sscanf(date.c_str(), "%3s %3s %d %d %d %d %d", day, month, &mday, &hour, &minute, &second, &year) != 7)
        return std::nullopt;
    std::tm utc{};
    utc.tm_mon = -1;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, kMonths[m]) == 0)
            utc.tm_mon = m;
    if (utc.tm_mon < 0 || mday < 1 || mday > 31 || hour > 23 || minute > 59 || second > 60 || year < 1970)
        return std::nullopt;
    utc.tm_mday = mday;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    utc.tm_year = year - 1900;
    return ::timegm(&utc);
}
