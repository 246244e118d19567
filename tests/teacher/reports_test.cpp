#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "player_action.h"
#include "records_fixture.h"
#include "replay.h"
#include "report.h"
#include "report_file.h"
#include "report_measures.h"
#include "report_page.h"
#include "saved_game.h"
#include "summary_csv.h"
#include "svg_grid.h"
#include "text.h"
#include "world_fixture.h"

namespace {
namespace fs = std::filesystem;

// What a scripted level leaves in its report, by the way it ended.
struct Level {
    const char* player;
    Outcome outcome;
    int steps;
    int errors;
    int missedShotsPlaced;
};

class Reports : public RecordsTest {
protected:
    void step(char letter)
    {
        act(*game, session, letter);
        clock.advance(700);
    }
    void putOnBothGrids(int col, int32_t kind)
    {
        for (Grid* grid : {&game->cells, &game->initialCells}) {
            (*grid)[1][col].kind = kind;
            (*grid)[1][col].superHp = 6;
        }
    }
    // Plays one level of the corridor map to the given end and writes its
    // report under bd/ with the player's name.
    std::string play(const Level& level)
    {
        clearJournal(session.journal);
        game->restartLevel();
        switch (level.outcome) {
        case Outcome::Won: playCorridorLevel(*game, session, clock); break;
        case Outcome::Trap:
            putOnBothGrids(6, CellKind::Trap);
            playCorridorLevel(*game, session, clock);
            break;
        case Outcome::Lives:
            putOnBothGrids(4, CellKind::SuperLeft);
            for (char letter : {'S', 'S', '-', 'S'})
                letter == '-' ? step(sideFor(*game)) : step(letter);
            // Frames of the main loop until the super monster has taken every life.
            for (int ms = 0; ms < 60000 && !game->gameOver; ms += 16) {
                clock.advance(16);
                game->shiftSuperMonster();
            }
            break;
        case Outcome::Bullets:
            for (char letter : {'S', 'S', 'S'})
                step(letter);  // the bullets are left where they lie
            step(sideFor(*game));
            break;
        case Outcome::NotFinished:
            // Two steps and a shot with no bullets, saved, then loaded and
            // replayed.
            for (char letter : {'S', 'J', 'S'})
                step(letter);
            chooser.answer = "partida.txt";
            EXPECT_TRUE(saveGame(*game, session, chooser, &error)) << error;
            game->restartLevel();
            clearJournal(session.journal);
            EXPECT_TRUE(loadGame(*game, session, chooser, sounds, &error)) << error;
            for (int ms = 0; ms < 100000 && session.replay.replaying; ++ms) {
                performAction(*game, session.journal, replayTick(session.replay, clock.now()));
                clock.advance(1);
            }
            break;
        }
        EXPECT_TRUE(writeStatisticsReport(*game, session.journal, level.player, &error)) << error;
        clock.advance(60000);
        return "bd/" + std::string(level.player) + "_Mon_Mar__3_09_07_02_2008.db1";
    }
};

const Level kLevels[] = {
    // Errors: the whole corridor, won or trapped, misses two shots and
    // refuses one step; the replayed level keeps its shot with no bullets.
    {"gana", Outcome::Won, 5, 3, 2},
    {"trampa", Outcome::Trap, 5, 3, 2},
    {"vidas", Outcome::Lives, 3, 0, 0},
    {"balas", Outcome::Bullets, 3, 0, 0},
    {"repite", Outcome::NotFinished, 2, 1, 1},
};

TEST_F(Reports, EachEndingIsReadWithItsOutcomeMeasuresAndPlacedErrors)
{
    for (const Level& level : kLevels) {
        SCOPED_TRACE(level.player);
        const std::string file = play(level);
        ::Report report;
        std::string reason;
        ASSERT_TRUE(readReport(file, report, reason)) << reason;
        EXPECT_EQ(report.player, level.player);
        // A replayed level is named after the saved game it came from.
        EXPECT_EQ(report.map, level.outcome == Outcome::NotFinished ? "partida.txt" : "pasillo.quorvane");
        EXPECT_EQ(report.counters[StepCount], level.steps);
        EXPECT_EQ(report.path.size(), size_t(level.steps));
        const Measures m = measure(report);
        EXPECT_EQ(m.outcome, level.outcome);
        ASSERT_TRUE(m.shortest.has_value());
        EXPECT_EQ(*m.shortest, 5);
        EXPECT_DOUBLE_EQ(m.ratio, level.steps / 5.0);
        EXPECT_EQ(m.errors, level.errors);
        EXPECT_EQ(placeErrors(report).missedShotsPlaced, level.missedShotsPlaced);
        EXPECT_EQ(report.written, std::optional<std::time_t>(1204535222));
    }
}

TEST_F(Reports, TheWinIsOneCsvRowWithEveryCounterAndMeasure)
{
    const std::string file = play(kLevels[0]);
    ::Report report;
    std::string reason;
    ASSERT_TRUE(readReport(file, report, reason)) << reason;
    ::setenv("TZ", "UTC", 1);
    // The spacing of playCorridorLevel: 700 ms, then 100 more each action;
    // the steps are actions 1, 3, 6, 12 and 13, so 1.5, 3.0, 8.7 and 1.8 s
    // apart. Missed: the shot with no bullets (corridor) and the one at the
    // monster's other side; errors 2 + 1 refused step.
    EXPECT_EQ(csvRow(report),
              "bd/gana_Mon_Mar__3_09_07_02_2008.db1,gana,2008-03-03,09:07:02,pasillo.quorvane,"
              "15,2,1,0,0,1,0,1,0,0,sí,ganado,5,2,5,1.00,3.750,8.700,3,6.00\n");
    const std::string header = csvHeader(), row = csvRow(report);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), std::count(row.begin(), row.end(), ','));
    const auto places = placeErrors(report);
    EXPECT_EQ(places.missedShots.at({1, 2}), 1) << "the shot with no bullets in the corridor";
    EXPECT_EQ(places.missedShots.at({1, 4}), 1) << "the shot at the monster's other side";
}

size_t occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A won level on a picture (world_fixture.h), with the kinds a level start
// leaves of it and the path given.
::Report wonOn(const std::vector<std::string>& picture, const std::vector<std::pair<int, int>>& path)
{
    ::Report r;
    MapText map;
    parseMapText(mapText(picture), map);
    for (int row = 0; row < kGridSize; ++row)
        for (int col = 0; col < kGridSize; ++col) {
            const int32_t code = map.codes[row][col];
            r.kinds[row][col] = code <= 1 ? code : code == 8 ? CellKind::Exit : code - 1;
        }
    for (const auto& [row, col] : path)
        r.path.push_back({Tick(1000 * (r.path.size() + 1)), row, col});
    r.counters[StepCount] = static_cast<int32_t>(path.size());
    r.reachedEnd = true;
    r.sentences.push_back({r.path.back().tick, "Has Ganado."});
    return r;
}

TEST(StaircaseReport, AWinDownTheStairsWalksTheShortestRoute)
{
    std::vector<std::pair<int, int>> stairs;
    for (int i = 1; i <= 6; ++i)
        stairs.insert(stairs.end(), {{i, i + 1}, {i + 1, i + 1}});
    const Measures m = measure(wonOn(staircase(), stairs));
    EXPECT_EQ(m.shortest, std::optional<int>(12));
    EXPECT_EQ(fixed(m.ratio, 2), "1.00");
}

// The regex's first group as a number.
double first(const std::string& text, const std::string& re)
{
    std::smatch m;
    return std::regex_search(text, m, std::regex(re)) ? std::stod(m[1]) : -1e9;
}

TEST(ReportDrawing, TheMazeIsCroppedWithALegendAndEveryMarkReadsApartAndOnItsGround)
{
    // Two shots astray and eleven bumps on the centre door: two marks on one
    // square, between the door's label above and the step's number below.
    ::Report r = wonOn({"#######", "#S.C.E#"}, {{1, 2}, {1, 3}, {1, 4}, {1, 5}});
    r.sentences.insert(r.sentences.begin(), {{2500, "Disparo a la izquierda."}, {2600, "Disparo a la derecha."}});
    r.counters[MissedShots] = 2;
    r.counters[DoorBumps] = 11;
    const std::string page = reportPage(r);
    const std::string svg = page.substr(page.find("<svg"), page.find("</svg>") - page.find("<svg"));
    EXPECT_EQ(occurrences(svg, "class=\"casilla\""), 3u * 7u) << "row 2 and columns 2 to 6, and a margin";
    EXPECT_EQ(occurrences(svg, "class=\"numero\""), 3u + 7u);
    const std::string legend = svg.substr(svg.find("class=\"leyenda\""));
    for (const char* meaning : {"casilla de inicio", "puerta al centro", "salida", "recorrido", "disparos errados",
                                "choques contra la puerta"})
        EXPECT_NE(legend.find(meaning), std::string::npos) << meaning;

    const std::string door = "<title>fila 2, columna 4: puerta al centro</title><rect ";
    const double left = first(svg, door + "x=\"([0-9]+)\""), top = first(svg, door + "[^>]* y=\"([0-9]+)\"");
    const double labelBottom = first(svg, door + "[^>]*/><text x=\"[0-9]+\" y=\"([0-9]+)\"") + 5.5;
    const std::string badge = "<title>fila 2, columna 4: [^<]*</title><rect class=\"marcas\" ";
    const double x = first(svg, badge + "x=\"([-0-9]+)\""), y = first(svg, badge + "[^>]* y=\"([-0-9]+)\"");
    const double w = first(svg, badge + "[^>]* width=\"([0-9]+)\"");
    const double steps = first(svg, "<text class=\"pasos\" x=\"[0-9]+\" y=\"([0-9]+)\"[^>]*><title>pasos 2<");
    EXPECT_EQ(occurrences(svg, "<rect class=\"marcas\""), 1u) << "one badge for the door's square";
    EXPECT_NE(svg.find("\u00d72</tspan> <tspan"), std::string::npos);
    EXPECT_NE(svg.find(">!11</tspan>"), std::string::npos);
    EXPECT_TRUE(x >= left && x + w <= left + 36) << x << " " << w << " in " << left;
    EXPECT_GE(y, labelBottom) << "what stood on the square stays in sight";
    EXPECT_LE(y + 10, steps - 4.5);
    EXPECT_LE(steps + 4.5, top + 36);

    for (int32_t code = -1; code <= 20; ++code)
        for (const SquareLook& look : {lookOfMapCode(code), lookOfKind(code), lookUnread()})
            EXPECT_GE(contrastRatio(look.fill, inkOn(look.fill)), 4.5) << look.title;
    // Labels on their squares, step numbers on the halo of their square,
    // marks on their white badge.
    const std::pair<std::regex, const char*> pairs[] = {
        {std::regex("fill=\"(#[0-9a-f]{6})\"[^>]*/><text[^>]* fill=\"(#[0-9a-f]{6})\""), nullptr},
        {std::regex("<text class=\"pasos\"[^>]* fill=\"(#[0-9a-f]{6})\" stroke=\"(#[0-9a-f]{6})\""), nullptr},
        {std::regex("<tspan [^>]*fill=\"(#[0-9a-f]{6})\""), "#ffffff"},
    };
    for (const auto& [re, ground] : pairs) {
        int seen = 0;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), re); it != std::sregex_iterator(); ++it, ++seen)
            EXPECT_GE(contrastRatio((*it)[1].str().c_str(), ground ? ground : (*it)[2].str().c_str()), 4.5) << (*it)[0];
        EXPECT_GT(seen, 0);
    }
}

// quorvane-mapa on the files a teacher brings: its exit status and what it
// printed.
std::pair<int, std::string> runMapTool(const std::string& arguments)
{
    const int status = std::system((std::string(QUORVANE_MAPA) + " " + arguments + " > salida.txt 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile("salida.txt")};
}

TEST(MapTool, ConvertsASpreadsheetMapAndDrawsMapsCroppedAndAsFarAsTheyWereRead)
{
    const std::vector<std::string> picture = {"#####", "#S.R#", "###.#", "###E#"};
    const std::string plain = mapText(picture);
    std::string sheet = "\xEF\xBB\xBF" + mapText(picture, "\r\n");
    std::replace(sheet.begin() + static_cast<long>(sheet.find('\n')), sheet.end(), ' ', ';');
    std::string bytes = plain;
    bytes.replace(bytes.find("\n0 0 0") + 1, 5, "0 \x1b[2J\xff 0");
    fs::remove("mapa.quorvane");
    writeWholeFile("hoja.csv", sheet);
    writeWholeFile("otro.quorvane", "otro");
    writeWholeFile("raro.quorvane", bytes);
    const std::string zeros = "\n0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
    writeWholeFile("corto.quorvane", plain.substr(0, plain.find(zeros, 200) + 1));  // four rows
    struct Run {
        const char* arguments;
        int status;
        const char* says;
        const char* file;  // and what it holds after
        std::string holds;
    };
    const Run runs[] = {
        {"hoja.csv", 1, "separe los números con espacios", "hoja.csv", sheet},
        {"--convertir hoja.csv mapa.quorvane", 0, "correcto; la salida está a 4 pasos", "mapa.quorvane", plain},
        {"--convertir hoja.csv otro.quorvane", 2, "ya existe", "otro.quorvane", "otro"},
        {"--convertir hoja.csv hoja.csv", 2, "ya existe", "hoja.csv", sheet},
        {"--convertir hoja.csv hoja.csv --reemplazar", 0, "correcto", "hoja.csv", plain},
        {"raro.quorvane", 1, "\"\\x1B[2J\\xFF\"", "raro.quorvane", bytes},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.arguments);
        const auto [status, said] = runMapTool(run.arguments);
        EXPECT_EQ(status, run.status) << said;
        EXPECT_NE(said.find(run.says), std::string::npos) << said;
        EXPECT_EQ(said.find_first_of("\x1b\xff\r"), std::string::npos) << "raw bytes of the file";
        EXPECT_EQ(readWholeFile(run.file), run.holds);
        if (run.status == 1 && run.file == std::string("hoja.csv")) {
            EXPECT_TRUE(occurrences(said, " error: ") == 1 && said.find("inicio") == std::string::npos) << said;
        }
    }

    // Drawn cropped to the maze and its margin, with a legend; a map that
    // does not load as far as it was read (4 rows), and the first square not read.
    EXPECT_EQ(runMapTool("--svg dibujos mapa.quorvane corto.quorvane").first, 1);
    const std::string good = readWholeFile("dibujos/mapa.svg"), cut = readWholeFile("dibujos/corto.svg");
    EXPECT_EQ(occurrences(good, "class=\"casilla\""), 5u * 5u);
    for (const char* meaning : {"class=\"leyenda\"", "casilla de inicio", "salida", "camino más corto (4 pasos)"})
        EXPECT_NE(good.find(meaning), std::string::npos) << meaning;
    for (const char* meaning : {"no se carga", "sin leer", "fila 4, columna 4: salida"})
        EXPECT_NE(cut.find(meaning), std::string::npos) << meaning;
    EXPECT_EQ(occurrences(cut, "class=\"casilla\""), 6u * 5u);
}

TEST_F(Reports, ADamagedOrForeignFileIsRefusedWithItsReason)
{
    const std::string text = readWholeFile(play(kLevels[0]));
    writeWholeFile("cortado.db1", text.substr(0, text.size() / 2));
    writeWholeFile("sin_fin.db1", text.substr(0, text.size() - 3));
    writeWholeFile("ajeno.db1", "\x89PNG\r\n");
    std::string mixed = text;
    mixed.replace(mixed.find("Mapa :"), 6, "Mapa?");
    writeWholeFile("etiqueta.db1", mixed);
    const std::pair<const char*, const char*> cases[] = {
        {"cortado.db1", "cortado"},
        {"sin_fin.db1", "cortado"},
        {"ajeno.db1", "no es un informe"},
        {"etiqueta.db1", "\"Mapa :\""},
        {"falta.db1", "no se puede abrir"},
    };
    for (const auto& [name, why] : cases) {
        ::Report report;
        std::string reason;
        EXPECT_FALSE(readReport(name, report, reason)) << name;
        EXPECT_NE(reason.find(why), std::string::npos) << name << ": " << reason;
    }
}

// The command on a folder of reports, and its pages in a real browser.
TEST_F(Reports, TheCommandWritesTheTableAndPagesAndAPageShowsEveryStepInABrowser)
{
    for (const Level& level : kLevels)
        play(level);
    writeWholeFile("bd/roto.db1", readWholeFile("bd/gana_Mon_Mar__3_09_07_02_2008.db1").substr(0, 900));
    const std::string command = std::string(QUORVANE_INFORMES) + " bd --csv resumen.csv --html informes 2> errores.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a damaged file makes the exit status 1";
    EXPECT_NE(readWholeFile("errores.txt").find("bd/roto.db1: no se pudo leer:"), std::string::npos);
    const std::string csv = readWholeFile("resumen.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6) << csv;
    for (const char* page : {"gana", "trampa", "vidas", "balas", "repite"})
        EXPECT_TRUE(fs::exists(std::string("informes/") + page + "_Mon_Mar__3_09_07_02_2008.html")) << page;
    EXPECT_NE(readWholeFile("informes/index.html").find("roto.db1"), std::string::npos);

    const std::string chromium = QUORVANE_CHROMIUM;
    ASSERT_FALSE(chromium.empty()) << "chromium is not installed (scripts/setup.sh installs it)";
    const std::string page = fs::absolute("informes/gana_Mon_Mar__3_09_07_02_2008.html").string();
    const std::string dump = "timeout 120 " + chromium +
                             " --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --user-data-dir=" + fs::absolute("perfil").string() +
                             " --dump-dom file://" + page + " > dom.html 2> chromium.log";
    ASSERT_EQ(std::system(dump.c_str()), 0) << readWholeFile("chromium.log");
    const std::string dom = readWholeFile("dom.html");
    EXPECT_NE(dom.find("<svg"), std::string::npos);
    size_t steps = 0;
    for (size_t at = dom.find("class=\"paso\""); at != std::string::npos; at = dom.find("class=\"paso\"", at + 1))
        ++steps;
    EXPECT_EQ(steps, 5u);
    EXPECT_NE(dom.find("data-paso=\"5\""), std::string::npos);
}
}
