#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "child_page.h"
#include "records_fixture.h"
#include "report.h"
#include "report_reader.h"

namespace {
namespace fs = std::filesystem;

// The same won corridor level written again as other children's levels, on
// other maps and days, with other wall bumps and playing times: reports the game could have
// written, with known names, dates and errors.
class Timeline : public RecordsTest {
protected:
    void SetUp() override
    {
        RecordsTest::SetUp();
        ::setenv("TZ", "UTC", 1);
        playCorridorLevel(*game, session, clock);
        EXPECT_TRUE(writeStatisticsReport(*game, session.journal, "plantilla", &error)) << error;
        played_ = readWholeFile("bd/plantilla_Mon_Mar__3_09_07_02_2008.db1");
        fs::remove(here("bd/plantilla_Mon_Mar__3_09_07_02_2008.db1"));
    }
    // The value on the line after a label.
    static void setAfter(std::string& text, const std::string& label, const std::string& value)
    {
        const size_t start = text.find('\n', text.find(label)) + 1;
        text.replace(start, text.find_first_of("\r\n", start) - start, value);
    }
    // Day of March 2008, hour (UTC).
    std::string write(const char* player, const char* map, int day, int hour, int wallBumps)
    {
        std::string text = played_;
        setAfter(text, "Nombre :", player);
        setAfter(text, "Mapa :", map);
        setAfter(text, "Pasos en falso :", std::to_string(wallBumps));
        // Levels played on other days took their own time: a copy of one
        // report would count once.
        setAfter(text, "Tiempo de juego :", std::to_string(100 * day + hour));
        char name[80];
        std::snprintf(name, sizeof name, "bd/%s_Mon_Mar_%2d_%02d_00_00_2008.db1", player, day, hour);
        for (char* c = name + 3; *c; ++c)
            *c = *c == ' ' ? '_' : *c;
        writeWholeFile(name, text);
        return name;
    }
    int run(const std::string& arguments)
    {
        const int status = runInFolder((std::string(QUORVANE_INFORMES) + " bd " + arguments + " > salida.txt 2> errores.txt").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string played_;
};

// The contrast of a colour "#rgb" or "#rrggbb" on white, as accessibility
// guidelines reckon it.
double contrastOnWhite(std::string hex)
{
    if (hex.size() == 4)
        hex = {'#', hex[1], hex[1], hex[2], hex[2], hex[3], hex[3]};
    double luminance = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = std::stoi(hex.substr(1 + 2 * i, 2), nullptr, 16) / 255.0;
        luminance += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return 1.05 / (luminance + 0.05);
}

TEST_F(Timeline, TheLeastSquaresLineAndWhereThereIsNone)
{
    const struct {
        std::vector<ChartPoint> points;
        std::optional<Trend> trend;
    } cases[] = {
        {{{1, 3, ""}, {2, 5, ""}, {4, 9, ""}}, Trend{2, 1}},
        {{{0, 0, ""}, {1, 1, ""}, {2, 0.5, ""}}, Trend{0.25, 0.25}},
        {{{3, 1, ""}}, std::nullopt},
        {{{3, 1, ""}, {3, 2, ""}}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto trend = leastSquares(c.points);
        ASSERT_EQ(trend.has_value(), c.trend.has_value());
        if (trend) {
            EXPECT_NEAR(trend->slope, c.trend->slope, 1e-9);
            EXPECT_NEAR(trend->intercept, c.trend->intercept, 1e-9);
        }
    }
}

// A child's chart has a line per map, a point per dated level in the order
// played, the values the reports give, and a mark where the settings changed.
TEST_F(Timeline, AChartsPointsAreTheChildsLevelsMapByMap)
{
    const struct {
        const char* map;
        int day, bumps;
        const char* settings;
    } plays[] = {
        {"pasillo.quorvane", 3, 1, "lento"}, {"cruce.quorvane", 4, 0, ""}, {"pasillo.quorvane", 9, 3, "rápido"},
        {"pasillo.quorvane", 5, 0, "lento"}, {"cruce.quorvane", 12, 2, "rápido"},
    };
    std::vector<Report> reports(std::size(plays));
    std::map<std::string, std::string> settings;
    for (size_t i = 0; i < std::size(plays); ++i) {
        std::string reason;
        const std::string file = write("ana", plays[i].map, plays[i].day, 10, plays[i].bumps);
        ASSERT_TRUE(parseReport(readWholeFile(file), file, reports[i], reason)) << reason;
        settings[file] = plays[i].settings;
    }
    std::sort(reports.begin(), reports.end(), [](const Report& a, const Report& b) { return a.written < b.written; });
    std::vector<PlayedLevel> levels;
    for (const Report& r : reports) {
        levels.push_back({&r, measure(r), "nivel.html"});
        levels.back().measures.settings = settings[r.file];
    }
    const std::vector<Child> children = groupByChild(levels);
    ASSERT_EQ(children.size(), 1u);
    const Chart chart = childChart(children[0], kLevelFigures[2], "e");
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_EQ(chart.series[0].name, "pasillo.quorvane") << "the map played first comes first";
    // Missed shots 2, a step with the monster and the bumps, over 5 steps.
    const std::vector<std::pair<std::string, double>> expected[] = {
        {{"2008-03-03", 8}, {"2008-03-05", 6}, {"2008-03-09", 12}},
        {{"2008-03-04", 6}, {"2008-03-12", 10}},
    };
    for (size_t s = 0; s < 2; ++s) {
        ASSERT_EQ(chart.series[s].points.size(), expected[s].size());
        for (size_t i = 0; i < expected[s].size(); ++i) {
            EXPECT_EQ(chart.series[s].points[i].label, expected[s][i].first);
            EXPECT_DOUBLE_EQ(chart.series[s].points[i].value, expected[s][i].second);
        }
    }
    // "lento", unknown, "lento", "rápido" on the 9th, "rápido": the unknown is no change.
    ASSERT_EQ(chart.marks.size(), 1u);
    EXPECT_EQ(chart.marks[0].label, "2008-03-09");

    const std::string svg = svgLineChart(chart);
    std::vector<double> xs;
    for (size_t at = svg.find("data-serie=\"0\" data-fecha"); at != std::string::npos;
         at = svg.find("data-serie=\"0\" data-fecha", at + 1))
        xs.push_back(std::stod(svg.substr(svg.find("cx=\"", at) + 4)));
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_TRUE(xs[0] < xs[1] && xs[1] < xs[2]) << "later days lie further right";
    EXPECT_NE(svg.find("data-fecha=\"2008-03-09\" data-valor=\"12.00\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"tendencia\" data-serie=\"1\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"cambio\" data-fecha=\"2008-03-09\""), std::string::npos);
    EXPECT_NE(svg.find("pasillo.quorvane: 3 niveles, de 8.00 (2008-03-03) a 12.00 (2008-03-09); tendencia: sube"),
              std::string::npos) << "the text alternative";
}

TEST_F(Timeline, TheFiltersChooseWhatIsWrittenAndABadValueStopsWithStatusTwo)
{
    for (int day : {3, 5, 9})
        for (const char* player : {"ana", "luis"}) {
            write(player, "pasillo.quorvane", day, 10, 0);
            write(player, "cruce.quorvane", day, 11, 1);
        }
    const struct {
        const char* arguments;
        int status;
        int rows;             // of the table, when it is written
        const char* message;  // on the error output
    } cases[] = {
        {"", 0, 12, ""},
        {"--jugador ANA", 0, 6, ""},
        {"--mapa cruce", 0, 6, ""},
        {"--desde 2008-03-05 --hasta 2008-03-05 --mapa pasillo.quorvane", 0, 2, ""},
        {"--hasta 2008-03-04", 0, 4, ""},
        {"--desde 2008-03-10", 0, 0, "ningún informe cumple el filtro"},
        {"--desde 2008-02-30", 2, -1, "\"2008-02-30\" no es una fecha"},
        {"--hasta 5/3/2008", 2, -1, "no es una fecha"},
        {"--desde 2008-03-09 --hasta 2008-03-05", 2, -1, "--hasta 2008-03-05 es anterior a --desde 2008-03-09"},
        {"--jugador pedro", 2, -1, "\"ana\" \"luis\""},
        {"--jugador ''", 2, -1, "--jugador necesita un nombre"},
        {"--mapa", 2, -1, "sin valor \"--mapa\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(c.arguments), c.status);
        const std::string table = readWholeFile("salida.txt");
        if (c.rows >= 0)
            EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), c.rows + 1);
        else
            EXPECT_EQ(table, "") << "nothing written after a bad value";
        EXPECT_NE(readWholeFile("errores.txt").find(c.message), std::string::npos) << readWholeFile("errores.txt");
    }

    ASSERT_EQ(run("--jugador luis --desde 2008-03-05 --html paginas"), 0);
    EXPECT_TRUE(fs::exists(here("paginas/jugador-luis.html")));
    EXPECT_FALSE(fs::exists(here("paginas/jugador-ana.html")));
    EXPECT_FALSE(fs::exists(here("paginas/luis_Mon_Mar__3_10_00_00_2008.html")));
    for (const char* page : {"paginas/index.html", "paginas/clase.html"}) {
        const std::string html = readWholeFile(page);
        EXPECT_NE(html.find("<a href=\"jugador-luis.html\">luis</a>"), std::string::npos) << page;
        EXPECT_EQ(html.find(">ana<"), std::string::npos) << page;
    }
    // Every colour given to text, and to the points a chart's text names, reads on white.
    for (const char* page : {"paginas/index.html", "paginas/clase.html", "paginas/jugador-luis.html"}) {
        const std::string html = readWholeFile(page);
        int colours = 0;
        for (const char* property : {"color:#", "fill=\"#"})
            for (size_t at = html.find(property); at != std::string::npos; at = html.find(property, at + 1)) {
                const size_t start = at + std::strlen(property) - 1;
                const std::string hex = html.substr(start, html.find_first_not_of("0123456789abcdefABCDEF", start + 1) - start);
                EXPECT_GE(contrastOnWhite(hex), 4.5) << page << ": " << hex;
                ++colours;
            }
        EXPECT_GT(colours, 0) << page;
    }
    const std::string index = readWholeFile("paginas/index.html");
    EXPECT_NE(index.find("href=\"luis_Mon_Mar__9_11_00_00_2008.html\""), std::string::npos) << "the child's levels";
}

// A child's summary, whatever the number of his maps and levels, prints on
// one page.
TEST_F(Timeline, AChildsSummaryPrintsOnOnePage)
{
    const std::string chromium = QUORVANE_CHROMIUM;
    if (chromium.empty())
        GTEST_SKIP() << "chromium is not installed";
    for (const char* map : {"pasillo.quorvane", "cruce.quorvane", "espiral.quorvane", "castillo.quorvane",
                            "bosque.quorvane", "rio.quorvane"})
        for (int day = 1; day <= 28; day += 3)
            write("ana", map, day, 8 + static_cast<int>(std::strlen(map)) % 10, day % 4);
    ASSERT_EQ(run("--html paginas"), 0);
    const std::string print =
        "timeout 120 " + chromium + " --headless --no-sandbox --disable-gpu --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync --disable-dev-shm-usage "
        "--user-data-dir=" + here("perfil") + " --no-pdf-header-footer --print-to-pdf=ana.pdf file://" +
        here("paginas/jugador-ana.html") + " > chromium.log 2>&1";
    ASSERT_EQ(runInFolder(print.c_str()), 0) << readWholeFile("chromium.log");
    const std::string pdf = readWholeFile("ana.pdf");
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 1);
}
}
