#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

#include "records_fixture.h"
#include "replay.h"
#include "report.h"
#include "report_reader.h"
#include "report_measures.h"
#include "report_page.h"
#include "saved_game.h"
#include "summary_csv.h"
#include "svg_grid.h"
#include "text.h"
#include "world_fixture.h"

namespace {
// Separators between fields, not those inside a quoted one.
long fieldSeparators(const std::string& text, char separator)
{
    long n = 0;
    bool quoted = false;
    for (char c : text) {
        quoted = c == '"' ? !quoted : quoted;
        n += !quoted && c == separator;
    }
    return n;
}

namespace fs = std::filesystem;

// What a scripted level leaves in its report, by the way it ended.
struct Level {
    const char* player;
    Outcome outcome;
    int steps;
    int errors;
    int missedShotsPlaced;
    double covered;  // of the shortest route
    int answered;    // announcements answered with a key
    double reaction; // their median (NaN for none)
    int wrongSide;
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
            replayToEnd(*game, session, clock);
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
    // The route is the 5 squares from column 2 to the exit at 6. Answers:
    // the bullets taken 0.9 s after they are announced, the monster shot at
    // (its wrong side) 2.5 s after; the level cut short at the monster
    // answers the bullets with a step and the monster with a shot, each
    // 0.7 s later; the super monster's moves go unanswered; the replay ends
    // on the bullets.
    {"gana", Outcome::Won, 5, 3, 2, 1.0, 2, 1.7, 1},
    {"trampa", Outcome::Trap, 5, 3, 2, 1.0, 2, 1.7, 1},
    {"vidas", Outcome::Lives, 3, 0, 0, 0.6, 1, 0.7, 0},
    {"balas", Outcome::Bullets, 3, 0, 0, 0.6, 2, 0.7, 0},
    {"repite", Outcome::NotFinished, 2, 1, 1, 0.4, 0, NAN, 0},
};

TEST_F(Reports, EachEndingIsReadWithItsOutcomeMeasuresAndPlacedErrors)
{
    for (const Level& level : kLevels) {
        SCOPED_TRACE(level.player);
        const std::string file = play(level);
        ::Report report;
        std::string reason;
        ASSERT_TRUE(readReport(here(file), report, reason)) << reason;
        EXPECT_EQ(report.player, level.player);
        // A replayed level is named after the saved game it came from.
        EXPECT_EQ(report.map, level.outcome == Outcome::NotFinished ? "partida.txt" : "pasillo.quorvane");
        EXPECT_EQ(report.counters[StepCount], level.steps);
        EXPECT_EQ(report.path.size(), size_t(level.steps));
        const Measures m = measure(report);
        EXPECT_EQ(m.outcome, level.outcome);
        // Told by the game's own sentence, not only by where the last step stood.
        Outcome told = Outcome::NotFinished;
        for (const ReportSentence& s : report.sentences)
            told = endingSaid(s.text) != Outcome::NotFinished ? endingSaid(s.text) : told;
        EXPECT_EQ(told, level.outcome);
        ASSERT_TRUE(m.shortest.has_value());
        EXPECT_EQ(*m.shortest, 5);
        if (level.outcome == Outcome::Won) {
            EXPECT_DOUBLE_EQ(m.ratio, level.steps / 5.0);
        } else {
            EXPECT_TRUE(std::isnan(m.ratio)) << "only a level won has a route ratio";
        }
        EXPECT_DOUBLE_EQ(m.routeCovered, level.covered);
        EXPECT_EQ(m.stepsLeft, std::optional<int>(int(5 - 5 * level.covered + 0.5)));
        EXPECT_EQ(m.reactionCount, level.answered);
        EXPECT_EQ(m.reactionSeconds.has_value(), level.answered > 0);
        if (m.reactionSeconds) {
            EXPECT_NEAR(*m.reactionSeconds, level.reaction, 1e-9);
        }
        EXPECT_EQ(m.wrongSideShots, level.wrongSide);
        // The game's line of the settings the level started with; a loaded
        // game shows the map.
        const bool loaded = level.outcome == Outcome::NotFinished;
        EXPECT_EQ(m.settings, std::string("voz normal, criaturas cada 3 segundos, trampas sí, balas infinitas no, "
                                          "mapa a la vista ") + (loaded ? "sí" : "no"));
        EXPECT_EQ(m.infiniteBullets, Setting::Off);
        EXPECT_EQ(m.replay, loaded ? Setting::On : Setting::Off);
        EXPECT_EQ(m.errors, level.errors);
        EXPECT_EQ(placeErrors(report).missedShotsPlaced, level.missedShotsPlaced);
        EXPECT_EQ(report.written, std::optional<std::time_t>(1204535222));
    }
    // A second report of one player within the same second is kept beside
    // the first, numbered, and its time is still read from its name.
    play(kLevels[0]);
    ::Report again;
    std::string reason;
    ASSERT_TRUE(readReport(here("bd/gana_Mon_Mar__3_09_07_02_2008-2.db1"), again, reason)) << reason;
    EXPECT_EQ(again.written, std::optional<std::time_t>(1204535222));
    EXPECT_EQ(timeFromReportName("gana_Mon_Mar__3_09_07_02_2008-12.db1"), std::optional<std::time_t>(1204535222));
}

TEST_F(Reports, TheWinIsOneCsvRowWithEveryCounterAndMeasure)
{
    const std::string file = play(kLevels[0]);
    ::Report report;
    std::string reason;
    ASSERT_TRUE(parseReport(readWholeFile(file), file, report, reason)) << reason;
    ::setenv("TZ", "UTC", 1);
    // The spacing of playCorridorLevel: 700 ms, then 100 more each action;
    // the steps are actions 1, 3, 6, 12 and 13, so 1.5, 3.0, 8.7 and 1.8 s
    // apart. Missed: the shot with no bullets (corridor) and the one at the
    // monster's other side; errors 2 + 1 refused step.
    // Reactions 0.9 and 2.5 s (median 1.7); one shot at the wrong side.
    EXPECT_EQ(csvRow(report),
              "bd/gana_Mon_Mar__3_09_07_02_2008.db1;gana;2008-03-03;09:07:02;pasillo.quorvane;no;\"voz normal, "
              "criaturas cada 3 segundos, trampas sí, balas infinitas no, mapa a la vista no\";normal;3;sí;no;no;15;2;1;0;0;1;0;1;0;0;sí;ganado;5;2;5;1,00;1,00;0;1;"
              "1,70;2;3,75;3;6,00\n");
    for (const CsvStyle& style : {kSpanishCsv, kPointCsv}) {
        const std::string header = csvHeader(style), row = csvRow(report, style);
        const std::string events = eventsHeader(style), event = eventRows(report, style);
        const char sep = style.separator;
        EXPECT_EQ(fieldSeparators(header, sep), fieldSeparators(row, sep));
        EXPECT_EQ(fieldSeparators(events, sep) * 18, fieldSeparators(event, sep))
            << "18 events, every row as wide as the header";
    }
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
    const int status = runInFolder((std::string(QUORVANE_MAPA) + " " + arguments + " > salida.txt 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile("salida.txt")};
}

// In a folder of its own, made and removed with the test.
class MapTool : public RecordsTest {};

TEST_F(MapTool, ConvertsASpreadsheetMapAndDrawsMapsCroppedAndAsFarAsTheyWereRead)
{
    const std::vector<std::string> picture = {"#####", "#S.R#", "###.#", "###E#"};
    const std::string plain = mapText(picture);
    std::string sheet = "\xEF\xBB\xBF" + mapText(picture, "\r\n");
    std::replace(sheet.begin() + static_cast<long>(sheet.find('\n')), sheet.end(), ' ', ';');
    std::string bytes = plain;
    bytes.replace(bytes.find("\n0 0 0") + 1, 5, "0 \x1b[2J\xff 0");
    fs::remove(here("mapa.quorvane"));
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

// The settings line of newer games and the option keys, added to the won
// level's report, with a question (D) just after the monster is announced.
TEST_F(Reports, SettingsOptionsAndAQuestionAreReadFromTheSentences)
{
    // The won level as a game from before the settings line wrote it.
    std::string won = readWholeFile(play(kLevels[0]));
    const size_t line = won.find("Ajustes: ");
    ASSERT_NE(line, std::string::npos);
    const size_t tick = won.rfind('\n', won.rfind('\n', line - 1) - 1) + 1;
    won.erase(tick, won.find('\n', line) + 1 - tick);
    struct Case {
        const char* settings;  // the game's line (Windows-1252), or none
        const char* option;    // an option key's sentence during the level, or none
        // The columns from "ajustes" to "mapa_a_la_vista", and from the
        // median reaction to the mean step gap: the question answers the
        // monster after 1.0 s; the bullets are answered by the option key
        // 0.5 s after them, or taken after 0.9.
        const char* columns;
        const char* reactions;
    };
    const Case cases[] = {
        {"Ajustes: voz lenta, criaturas cada 5 segundos, trampas no, balas infinitas s\xED, mapa a la vista no.",
         nullptr,
         "\"voz lenta, criaturas cada 5 segundos, trampas no, balas infinitas sí, mapa a la vista no\";lenta;5;no;sí;no",
         "0,95;2;3,75"},
        {"Ajustes: voz normal, criaturas cada 8 segundos, trampas s\xED, balas infinitas no, mapa a la vista s\xED.",
         "Balas infinitas activadas.",
         "\"voz normal, criaturas cada 8 segundos, trampas sí, balas infinitas no, mapa a la vista sí\";normal;8;sí;"
         "cambió;sí",
         "0,75;2;3,75"},
        {nullptr, "Mostrar mapa desactivado.", "desconocido;desconocido;;desconocido;desconocido;cambió", "0,75;2;3,75"},
    };
    ::setenv("TZ", "UTC", 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        std::string text = won;
        const std::string monster = "Hay un monstruo a la izquierda.\n";
        text.insert(text.find(monster) + monster.size(), "105500\n" + monster);
        if (c.option)
            text.insert(text.find("102400\n"), std::string("102000\n") + c.option + "\n");
        size_t gridEnd = 0;
        for (int line = 0; line < 30; ++line)
            gridEnd = text.find('\n', gridEnd) + 1;
        if (c.settings)
            text.insert(gridEnd, std::string("100000\n") + c.settings + "\n");
        writeWholeFile("ajustes.db1", text);
        ::Report report;
        std::string reason;
        ASSERT_TRUE(readReport(here("ajustes.db1"), report, reason)) << reason;
        const std::string row = csvRow(report);
        EXPECT_NE(row.find(std::string(";pasillo.quorvane;no;") + c.columns + ";15;"), std::string::npos) << row;
        EXPECT_NE(row.find(std::string(";") + c.reactions + ";"), std::string::npos) << row;
    }
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
    ASSERT_EQ(::mkfifo(here("tubo.db1").c_str(), 0644), 0);
    fs::create_directory(here("carpeta.db1"));
    const std::pair<const char*, const char*> cases[] = {
        {"tubo.db1", "no se puede abrir: es una tubería (FIFO)"},  // at once, not waiting for a writer
        {"carpeta.db1", "no se puede abrir: es una carpeta"},
        {"cortado.db1", "cortado"},
        {"sin_fin.db1", "cortado"},
        {"ajeno.db1", "no es un informe"},
        {"etiqueta.db1", "\"Mapa :\""},
        {"falta.db1", "no se puede abrir"},
    };
    for (const auto& [name, why] : cases) {
        ::Report report;
        std::string reason;
        EXPECT_FALSE(readReport(here(name), report, reason)) << name;
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
    const int status = runInFolder(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a damaged file makes the exit status 1";
    EXPECT_NE(readWholeFile("errores.txt").find("bd/roto.db1: no se pudo leer:"), std::string::npos);
    const std::string csv = readWholeFile("resumen.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6) << csv;
    for (const char* page : {"gana", "trampa", "vidas", "balas", "repite"})
        EXPECT_TRUE(fs::exists(here(std::string("informes/") + page + "_Mon_Mar__3_09_07_02_2008.html"))) << page;
    EXPECT_NE(readWholeFile("informes/index.html").find("roto.db1"), std::string::npos);

    const std::string chromium = QUORVANE_CHROMIUM;
    ASSERT_FALSE(chromium.empty()) << "chromium is not installed (scripts/setup.sh installs it)";
    const std::string page = here("informes/gana_Mon_Mar__3_09_07_02_2008.html");
    const std::string dump = "timeout 120 " + chromium +
                             " --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --user-data-dir=" + here("perfil") +
                             " --dump-dom file://" + page + " > dom.html 2> chromium.log";
    ASSERT_EQ(runInFolder(dump.c_str()), 0) << readWholeFile("chromium.log");
    const std::string dom = readWholeFile("dom.html");
    EXPECT_NE(dom.find("<svg"), std::string::npos);
    size_t steps = 0;
    for (size_t at = dom.find("class=\"paso\""); at != std::string::npos; at = dom.find("class=\"paso\"", at + 1))
        ++steps;
    EXPECT_EQ(steps, 5u);
    EXPECT_NE(dom.find("data-paso=\"5\""), std::string::npos);
}

// A pipe named on the command line or lying in a folder, and a subfolder the
// tool may not open, are each named with their reason and the reports beside
// them are read all the same.
TEST_F(Reports, APipeOrAClosedFolderIsNamedAndSkippedAndTheReportsBesideThemRead)
{
    for (int i = 0; i < 3; ++i)
        play(kLevels[i]);
    ASSERT_EQ(::mkfifo(here("tubo.db1").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(here("bd/tuberia.db1").c_str(), 0644), 0);
    fs::create_directories(here("bd/cerrada"));
    fs::copy_file(here("bd/gana_Mon_Mar__3_09_07_02_2008.db1"), here("bd/cerrada/otra_Mon_Mar__3_09_07_02_2008.db1"));
    fs::permissions(here("bd/cerrada"), fs::perms::none);
    // Root opens any folder whatever its mode; without the two capabilities
    // that let it, it is refused as anyone else is.
    std::string as = ::geteuid() != 0 ? "" : "setpriv --bounding-set -dac_override,-dac_read_search "
                                             "--inh-caps=-dac_override,-dac_read_search ";
    const bool closed = as.empty() || runInFolder((as + "test ! -r bd/cerrada").c_str()) == 0;
    if (!closed)
        as.clear();
    // timeout: a tool that waits on the pipe fails here instead of hanging.
    const int status = runInFolder(
        (as + "timeout 60 " + QUORVANE_INFORMES + " tubo.db1 bd --csv resumen.csv 2> errores.txt").c_str());
    fs::permissions(here("bd/cerrada"), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string errors = readWholeFile("errores.txt");
    EXPECT_NE(errors.find("tubo.db1: no se pudo leer: no se puede abrir: es una tubería (FIFO)"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("bd/tuberia.db1: no se pudo leer: no se puede abrir: es una tubería (FIFO)"),
              std::string::npos) << errors;
    const std::string csv = readWholeFile("resumen.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), closed ? 4 : 5) << csv;

    // A pipe named as the table to write is refused by its name, not waited on.
    ASSERT_EQ(::mkfifo(here("tabla.csv").c_str(), 0644), 0);
    const int output =
        runInFolder(("timeout 60 " + std::string(QUORVANE_INFORMES) + " bd --csv tabla.csv 2> salida.txt").c_str());
    ASSERT_TRUE(WIFEXITED(output));
    EXPECT_EQ(WEXITSTATUS(output), 2);
    EXPECT_NE(readWholeFile("salida.txt").find("\"tabla.csv\": es una tubería (FIFO)"), std::string::npos)
        << readWholeFile("salida.txt");
    if (!closed)
        GTEST_SKIP() << "root here cannot give up reading every folder (setpriv is missing or not allowed): "
                        "the closed folder is not tried";
    EXPECT_NE(errors.find("bd/cerrada: no se pudo leer: no se pudo abrir la carpeta: no hay permiso."),
              std::string::npos) << errors;
}

// The rows of a sheet LibreOffice wrote as flat XML, each cell as what a
// formula gets: "float:1.7", "date:2008-03-03", "string:<its text>", "".
// (The text shown of a number or time is the language's own.)
using Sheet = std::vector<std::vector<std::string>>;
Sheet readSheet(const std::string& fods)
{
    auto attribute = [](const std::string& tag, const std::string& name) -> std::string {
        const size_t at = tag.find(" " + name + "=\""), from = at + name.size() + 3;
        return at == std::string::npos ? "" : tag.substr(from, tag.find('"', from) - from);
    };
    Sheet sheet;
    const std::string xml = readWholeFile(fods);
    for (size_t row = xml.find("<table:table-row"); row != std::string::npos;
         row = xml.find("<table:table-row", row + 1)) {
        sheet.emplace_back();
        const size_t rowEnd = xml.find("</table:table-row>", row);
        for (size_t at = xml.find("<table:table-cell", row); at < rowEnd; at = xml.find("<table:table-cell", at + 1)) {
            const std::string tag = xml.substr(at, xml.find('>', at) - at), type = attribute(tag, "office:value-type");
            std::string cell = type.empty() ? "" : type + ":";
            const size_t text = xml.find("<text:p>", at) + 8;
            if (type == "string")
                cell += xml.substr(text, xml.find("</text:p>", text) - text);
            else
                cell += attribute(tag, "office:value") + attribute(tag, "office:date-value") +
                        attribute(tag, "office:time-value");
            const int repeated = std::atoi(attribute(tag, "table:number-columns-repeated").c_str());
            sheet.back().insert(sheet.back().end(), std::clamp(repeated, 1, 64), cell);
        }
    }
    return sheet;
}

// The cell in the column named of the first row of a player whose column
// `key` holds `text`.
std::string cellOf(const Sheet& sheet, const char* player, const char* key, const char* text, const char* name)
{
    auto columnOf = [&](const std::string& header) {
        return std::find(sheet.at(0).begin(), sheet.at(0).end(), "string:" + header) - sheet.at(0).begin();
    };
    const auto p = columnOf("jugador"), k = columnOf(key), c = columnOf(name);
    for (const auto& row : sheet)
        if (std::ssize(row) > std::max({p, k, c}) && row[p] == std::string("string:") + player &&
            row[k] == std::string("string:") + text)
            return row[c];
    return "?";
}

// Both tables as a spreadsheet opens them, LibreOffice set to Spanish or to
// English: the Spanish tables in Spanish and the point ones in English come
// out the same, numbers as numbers with their values; opened in the other
// language, a decimal may stay text but no number comes out wrong.
TEST_F(Reports, TheTablesOpenAsTheirNumbersInASpreadsheetInSpanishAndInEnglish)
{
    const std::string soffice = QUORVANE_SOFFICE;
    if (soffice.empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: scripts/setup.sh installs libreoffice-calc-nogui";
    for (const Level& level : kLevels)
        play(level);
    fs::create_directories(here("bd/copia"));
    fs::copy_file(here("bd/gana_Mon_Mar__3_09_07_02_2008.db1"), here("bd/copia/gana_Mon_Mar__3_09_07_02_2008.db1"));
    ::setenv("TZ", "UTC", 1);
    const std::string tool = QUORVANE_INFORMES;
    const std::string both = tool + " bd --csv es/resumen.csv && " + tool + " bd --csv en/resumen.csv --csv-punto";
    ASSERT_EQ(runInFolder(both.c_str()), 0);
    EXPECT_NE(readWholeFile("es/guia_columnas.txt").find("reaccion_mediana_s"), std::string::npos);

    // Folder, separator, language (3082 Spanish of Spain, 1033 English of
    // the United States), two at a time with a profile each: starting the
    // spreadsheet takes most of the time.
    const std::tuple<const char*, int, int> openings[] = {
        {"es", ';', 3082}, {"en", ',', 3082}, {"en", ',', 1033}, {"es", ';', 1033}};
    std::string pairs[2];
    for (int i = 0; i < 4; ++i) {
        const auto& [folder, separator, language] = openings[i];
        pairs[i / 2] += "timeout 300 " + soffice + " -env:UserInstallation=file://" +
                        here("perfil" + std::to_string(i / 2)) +
                        " --headless --infilter=CSV:" + std::to_string(separator) + ",34,76,1,," +
                        std::to_string(language) + " --convert-to fods --outdir " + folder + std::to_string(language) +
                        " " + folder + "/resumen.csv " + folder + "/eventos.csv && ";
    }
    const std::string open =
        "(" + pairs[0] + "touch listo0) > soffice0.log 2>&1 & (" + pairs[1] + "touch listo1) > soffice1.log 2>&1 & wait";
    ASSERT_EQ(runInFolder(open.c_str()), 0);
    ASSERT_TRUE(fs::exists(here("listo0")) && fs::exists(here("listo1")))
        << readWholeFile("soffice0.log") << readWholeFile("soffice1.log");
    for (const std::string table : {"/resumen.fods", "/eventos.fods"}) {
        const Sheet spanish = readSheet("es3082" + table), english = readSheet("en1033" + table);
        EXPECT_EQ(spanish, english) << table;
        for (const auto& [wrong, right] :
             {std::pair{readSheet("es1033" + table), spanish}, std::pair{readSheet("en3082" + table), english}}) {
            ASSERT_EQ(wrong.size(), right.size()) << table;
            for (size_t r = 0; r < wrong.size(); ++r)
                for (size_t c = 0; c < wrong[r].size() && c < right[r].size(); ++c)
                    if (wrong[r][c].rfind("float:", 0) == 0) {
                        EXPECT_EQ(wrong[r][c], right[r][c]) << table << " row " << r << " column " << c;
                    }
        }
    }
    const Sheet summary = readSheet("es3082/resumen.fods");
    EXPECT_EQ(summary.size(), 6u) << "five levels, the copy counted once";
    const std::tuple<const char*, const char*, const char*> cells[] = {
        {"gana", "fecha", "date:2008-03-03"},          {"gana", "tiempo_juego_s", "float:15"},
        {"gana", "razon_pasos_camino", "float:1"},     {"gana", "reaccion_mediana_s", "float:1.7"},
        {"gana", "media_entre_pasos_s", "float:3.75"}, {"gana", "disparos_lado_equivocado", "float:1"},
        {"vidas", "avance_camino", "float:0.6"},       {"vidas", "razon_pasos_camino", ""},
        {"repite", "repeticion", "string:sí"}};
    for (const auto& [player, name, value] : cells)
        EXPECT_EQ(cellOf(summary, player, "jugador", player, name), value) << player << " " << name;
    const Sheet events = readSheet("es3082/eventos.fods");
    EXPECT_EQ(cellOf(events, "gana", "texto", "Hay un monstruo a la izquierda.", "respuesta_s"), "float:2.5");
    EXPECT_EQ(cellOf(events, "gana", "texto", "Tomaste las balas a la izquierda.", "segundos"), "float:2.4");
}
} // namespace
