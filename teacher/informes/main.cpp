// quorvane-informes: reads the game's statistics reports and writes a table
// for a spreadsheet or R, and a page per report for reading.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "child_page.h"
#include "children_index.h"
#include "file_error.h"
#include "class_page.h"
#include "output_file.h"
#include "report_filter.h"
#include "report_page.h"
#include "summary_csv.h"
#include "text.h"

namespace fs = std::filesystem;

namespace {
// Written beside the summary table.
const char* const kEventsFile = "eventos.csv";
const char* const kGuideFile = "guia_columnas.txt";

const char* const kUsage =
    "Uso: quorvane-informes INFORME_O_CARPETA... [--csv ARCHIVO.csv] [--csv-punto] [--html CARPETA]\n"
    "       [--jugador NOMBRE] [--mapa MAPA] [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD]\n"
    "Lee los informes .db1 (de las carpetas, también de sus subcarpetas) y escribe:\n"
    "  --csv   una tabla con una fila por nivel jugado (sin --csv ni --html, en la salida) y a su lado\n"
    "          eventos.csv (una fila por paso, disparo, anuncio o frase) y guia_columnas.txt;\n"
    "          en español: separadas por punto y coma, con coma decimal;\n"
    "  --csv-punto  las tablas separadas por comas y con punto decimal (R, Python, inglés);\n"
    "  --html  una página por informe, una por niño con sus gráficos a lo largo del tiempo, una de\n"
    "          la clase mapa por mapa (clase.html) y un índice (index.html) en CARPETA.\n"
    "--jugador, --mapa, --desde y --hasta dejan solo los informes de ese niño, de ese mapa, o de\n"
    "esos días (los dos incluidos), en la tabla y en las páginas.\n"
    "Un informe copiado dos veces se cuenta una vez.\n"
    "Un archivo dañado o que no es un informe se nombra con el motivo y los demás se leen igual;\n"
    "entonces sale con 1.\n";

// The .db1 names under a folder, to any depth. A subfolder that cannot be
// opened or listed is named with its reason and the others are searched all
// the same. Links to folders are not followed, so a link back up cannot loop.
// Anything named .db1 that is not a folder is left to the reader, which
// refuses a pipe or a device with its reason without waiting on it.
void searchFolder(const fs::path& folder, std::vector<std::string>& found, std::vector<Refused>& refused)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    std::vector<fs::path> subfolders;
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_directory(typeEc) && !it->is_symlink(typeEc))
            subfolders.push_back(it->path());
        else if (it->path().extension() == report_format::kFileSuffix)
            found.push_back(it->path().string());
    }
    if (ec)
        refused.push_back({folder.string(), "no se pudo abrir la carpeta: " + describeError(ec) + "."});
    for (const fs::path& sub : subfolders)
        searchFolder(sub, found, refused);
}

// The report files named, folders searched to any depth, each file once, in
// name order.
std::vector<std::string> reportFiles(const std::vector<std::string>& inputs, std::vector<Refused>& refused)
{
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        std::error_code ec;
        if (fs::is_directory(input, ec)) {
            std::vector<std::string> found;
            searchFolder(input, found, refused);
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(input);
        }
    }
    std::set<std::string> seen;
    files.erase(std::remove_if(files.begin(), files.end(), [&](const std::string& f) { return !seen.insert(f).second; }),
                files.end());
    return files;
}

bool writeFile(const fs::path& path, const std::string& text)
{
    std::string error;
    if (writeOutputFile(path.string(), text, error))
        return true;
    std::fprintf(stderr, "quorvane-informes: %s\n", error.c_str());
    return false;
}

struct Options {
    std::string csvPath, htmlFolder;
    CsvStyle style = kSpanishCsv;
    std::vector<std::string> inputs;
    ReportFilter filter;
};

// What the options ask for cannot be done: -1 when it can, else the exit
// status.
int refuseOptions(const Options& o)
{
    if (o.inputs.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (std::string reason; !checkSpan(o.filter, reason)) {
        std::fprintf(stderr, "quorvane-informes: %s\n", reason.c_str());
        return 2;
    }
    if (const fs::path name = fs::path(o.csvPath).filename(); name == kEventsFile || name == kGuideFile) {
        std::fprintf(stderr, "quorvane-informes: \"%s\" es el nombre de la tabla de eventos o de la guía; "
                     "elija otro para --csv.\n", o.csvPath.c_str());
        return 2;
    }
    return -1;
}

// The command line into o: -1 to go on, else the exit status.
int readOptions(int argc, char* argv[], Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--csv") == 0 && hasValue) {
            o.csvPath = argv[++i];
        } else if (std::strcmp(argv[i], "--csv-punto") == 0) {
            o.style = kPointCsv;
        } else if (std::strcmp(argv[i], "--html") == 0 && hasValue) {
            o.htmlFolder = argv[++i];
        } else if (isFilterOption(argv[i]) && hasValue) {
            std::string reason;
            if (!setFilter(o.filter, argv[i], argv[i + 1], reason)) {
                std::fprintf(stderr, "quorvane-informes: %s\n", reason.c_str());
                return 2;
            }
            ++i;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--ayuda") == 0 ||
                   std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "quorvane-informes: opción desconocida o sin valor \"%s\".\n%s", argv[i], kUsage);
            return 2;
        } else {
            o.inputs.emplace_back(argv[i]);
        }
    }
    return refuseOptions(o);
}

// The reports the filter keeps, each level played once, oldest first; the
// files that cannot be read are named and go to refused. False when the
// filter names what no report holds.
bool readReports(const Options& o, std::vector<Report>& reports, std::vector<Refused>& refused)
{
    for (const std::string& file : reportFiles(o.inputs, refused)) {
        Report report;
        std::string reason;
        if (readReport(file, report, reason)) {
            // A report copied twice is one level played.
            if (std::none_of(reports.begin(), reports.end(), [&](const Report& r) { return sameReport(r, report); }))
                reports.push_back(std::move(report));
        } else
            refused.push_back({file, reason});
    }
    for (const Refused& f : refused)
        std::fprintf(stderr, "%s: no se pudo leer: %s\n", utf8FromGameText(f.file).c_str(), f.reason.c_str());
    if (std::string reason; !namesSomeReport(o.filter, reports, reason)) {
        std::fprintf(stderr, "quorvane-informes: %s\n", reason.c_str());
        return false;
    }
    reports.erase(std::remove_if(reports.begin(), reports.end(), [&](const Report& r) { return !keeps(o.filter, r); }),
                  reports.end());
    if (reports.empty() && !describe(o.filter).empty())
        std::fprintf(stderr, "quorvane-informes: ningún informe cumple el filtro (%s).\n", describe(o.filter).c_str());
    // Oldest first, so that a child's levels read in the order he played them.
    std::stable_sort(reports.begin(), reports.end(), [](const Report& a, const Report& b) {
        return a.written.value_or(0) < b.written.value_or(0);
    });
    return true;
}

// The summary table, with the events table and the column guide beside it
// when it goes to a file; on the output when no file or pages are asked for.
// False when a file could not be written.
bool writeTables(const Options& o, const std::vector<Report>& reports)
{
    std::string csv = csvHeader(o.style);
    for (const Report& r : reports)
        csv += csvRow(r, o.style);
    if (o.csvPath.empty()) {
        if (o.htmlFolder.empty())
            std::fputs(csv.c_str(), stdout);
        return true;
    }
    const std::string mark = o.style.byteOrderMark ? "\xEF\xBB\xBF" : "";
    std::string events = eventsHeader(o.style);
    for (const Report& r : reports)
        appendEventRows(events, r, o.style);
    const fs::path folder = fs::path(o.csvPath).parent_path();
    std::error_code ec;
    if (!folder.empty())
        fs::create_directories(folder, ec);
    bool written = writeFile(o.csvPath, mark + csv);
    written = writeFile(folder / kEventsFile, mark + events) && written;
    written = writeFile(folder / kGuideFile, columnGuide(o.style)) && written;
    return written;
}

// Page names given out once each: reports of the same name from two folders
// get two pages, and a child's page never takes a report's name.
class PageNames {
public:
    std::string unique(const std::string& base)
    {
        std::string name = base;
        for (int n = 2; !names_.insert(name).second; ++n)
            name = base.substr(0, base.size() - 5) + "-" + std::to_string(n) + ".html";
        return name;
    }

private:
    std::set<std::string> names_{"index.html", "clase.html"};
};

// The pages in folder; written turns false when one could not be written.
// False when the folder itself cannot be made.
bool writePages(const fs::path& folder, const Options& o, const std::vector<Report>& reports,
                const std::vector<Refused>& refused, bool& written)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "quorvane-informes: no se pudo crear la carpeta \"%s\": %s.\n", o.htmlFolder.c_str(),
                     describeError(ec).c_str());
        return false;
    }
    PageNames names;
    std::vector<PlayedLevel> levels;
    for (const Report& r : reports) {
        const std::string name = names.unique(pageName(r.file));
        written = writeFile(folder / name, reportPage(r)) && written;
        levels.push_back({&r, measure(r), name});
    }
    std::vector<Child> children = groupByChild(levels);
    for (Child& child : children)
        child.page = names.unique("jugador-" + pageName(child.name.empty() ? "sin-nombre" : child.name));
    const std::string described = describe(o.filter);
    for (const Child& child : children)
        written = writeFile(folder / child.page, childPage(child, described)) && written;
    written = writeFile(folder / "clase.html", classPage(children, described)) && written;
    written = writeFile(folder / "index.html", childrenIndex(children, refused, described)) && written;
    return true;
}
}

int main(int argc, char* argv[])
{
    Options options;
    if (const int status = readOptions(argc, argv, options); status >= 0)
        return status;
    std::vector<Refused> refused;
    std::vector<Report> reports;
    if (!readReports(options, reports, refused))
        return 2;
    bool written = writeTables(options, reports);
    if (!options.htmlFolder.empty() && !writePages(options.htmlFolder, options, reports, refused, written))
        return 2;
    if (!written)
        return 2;
    return refused.empty() ? 0 : 1;
}
