#include "report_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "game_text.h"
#include "map_file.h"
#include "regular_file.h"
#include "saved_game_format.h"

namespace {
using namespace report_format;

// The lines of the file, each without its line end, read one at a time with
// its number for the reasons. The bytes stay the caller's, and each line is
// copied into the same string: a report holds thousands of lines, and a
// string made for each would cost more than reading it.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string& line)
    {
        if (pos_ > text_.size())
            return false;
        const size_t end = text_.find('\n', pos_);
        line.assign(text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        pos_ = end == std::string_view::npos ? text_.size() + 1 : end + 1;
        ++number_;
        return true;
    }
    int number() const { return number_; }
    bool atEnd() const { return pos_ > text_.size(); }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
};

// A label of the format as the reasons show it: in UTF-8, in quotes.
std::string quoted(const char* text) { return "\"" + utf8FromGameText(text) + "\""; }

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
    bool cut(const std::string& expected)
    {
        reason = "el informe está cortado: termina en la línea " + std::to_string(lines.number()) +
                 " donde falta " + expected + ".";
        return false;
    }
    bool next(const char* expected) { return lines.next(line) || cut(expected); }
    // The next line where a label of the format is due; the label is quoted
    // only for a reason, not for each of the thousands of lines that are there.
    bool nextBefore(const char* label) { return lines.next(line) || cut(quoted(label)); }
    bool label(const char* text)
    {
        if (!nextBefore(text))
            return false;
        // A report saved again from a UTF-8 editor still reads.
        if (line == text || utf8FromGameText(line) == utf8FromGameText(text))
            return true;
        return fail("se esperaba " + quoted(text) + ".");
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

    // The entries of a list up to its closing line: at most `most` of them,
    // each read by entry() from its first line on.
    template <typename List, typename Entry>
    bool listUntil(const char* closing, const List& list, size_t most, const char* noun, Entry entry)
    {
        for (;;) {
            if (!nextBefore(closing))
                return false;
            if (line == closing)
                return true;
            if (list.size() == most)
                return fail("más de " + std::to_string(most) + " " + noun + ": no es un informe del juego.");
            if (!entry())
                return false;
        }
    }

    bool sentence()
    {
        ReportSentence said;
        if (!parseTickLine(line.c_str(), said.tick))
            return fail("se esperaba la hora de un mensaje o " + quoted(kDataLabel) + ".");
        if (!next("un mensaje"))
            return false;
        said.text = utf8FromGameText(line);
        out.sentences.push_back(std::move(said));
        return true;
    }

    bool sentences()
    {
        return listUntil(kDataLabel, out.sentences, kMostSentences, "mensajes", [this] { return sentence(); });
    }

    bool counters(int first, int last)
    {
        for (int i = first; i <= last; ++i)
            if (!label(reportLabel(static_cast<Counter>(i))) || !number(out.counters[i], "un número"))
                return false;
        return true;
    }

    bool success()
    {
        const std::string either = quoted(kYes) + " o " + quoted(kNo);
        if (!label(kSuccessLabel) || !next(either.c_str()))
            return false;
        const std::string said = utf8FromGameText(line);
        if (said != utf8FromGameText(kYes) && said != kNo)
            return fail("se esperaba " + either + ".");
        out.reachedEnd = said != kNo;
        return true;
    }

    bool data()
    {
        if (!label(kNameLabel) || !next("el nombre"))
            return false;
        out.player = utf8FromGameText(line);
        if (!label(kMapLabel) || !next("el mapa"))
            return false;
        out.map = utf8FromGameText(line);
        return counters(0, kLastCounterBeforeSuccess) && success() &&
               counters(kLastCounterBeforeSuccess + 1, kCounterCount - 1) && label(kPathLabel);
    }

    bool pathStep()
    {
        ReportStep step;
        if (!parseTickLine(line.c_str(), step.tick))
            return fail("se esperaba la hora de un paso o " + quoted(kEndLine) + ".");
        if (!number(step.row, "la fila del paso") || !number(step.col, "la columna del paso"))
            return false;
        if (step.row < 0 || step.row >= kGridSize || step.col < 0 || step.col >= kGridSize)
            return fail("el paso queda fuera de la cuadrícula.");
        out.path.push_back(step);
        return true;
    }

    bool path()
    {
        if (!listUntil(kEndLine, out.path, kMostSteps, "pasos", [this] { return pathStep(); }))
            return false;
        std::string after;
        while (lines.next(after))
            if (!after.empty())
                return fail("hay texto después de " + quoted(kEndLine) + ".");
        if (static_cast<int32_t>(out.path.size()) != out.counters[StepCount])
            return fail("el camino tiene " + std::to_string(out.path.size()) + " pasos y el informe dice " +
                        std::to_string(out.counters[StepCount]) + ".");
        return true;
    }
};
}

bool parseReport(std::string_view bytes, const std::string& name, Report& out, std::string& reason)
{
    out = Report{};
    out.file = name;
    if (bytes.size() > kLargestReport) {
        reason = "no es un informe de Quorvane: es demasiado grande.";
        return false;
    }
    Parser parser{Lines(bytes), out, reason, {}};
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
