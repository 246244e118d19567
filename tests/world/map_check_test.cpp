#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "map_check.h"
#include "world_fixture.h"

namespace {
// Column (from 1) of the index-th number on line (from 1) of text.
int tokenColumn(const std::string& text, int line, int index)
{
    std::istringstream in(text);
    std::string l;
    for (int i = 0; i < line; ++i)
        std::getline(in, l);
    if (index < 0)
        return 1;
    size_t pos = 0;
    for (int i = 0; i <= index && pos != std::string::npos; ++i) {
        pos = l.find_first_not_of(" \t", pos);
        if (i < index && pos != std::string::npos)
            pos = l.find_first_of(" \t", pos);
    }
    // Past the last number: where the next one would stand.
    return static_cast<int>(pos == std::string::npos ? l.size() : pos) + 1;
}

std::string lineOf(const std::string& text, int line)
{
    std::istringstream in(text);
    std::string l;
    for (int i = 0; i < line; ++i)
        std::getline(in, l);
    return l;
}

std::string replaceLine(std::string text, int line, const std::string& with)
{
    size_t start = 0;
    for (int i = 1; i < line; ++i)
        start = text.find('\n', start) + 1;
    return text.replace(start, text.find('\n', start) - start, with);
}

const std::vector<std::string> kBend = {"#####", "#S..#", "###.#", "###E#"};

struct Planted {
    const char* what;
    std::string text;
    MapFinding::Severity severity;
    int line, index;  // expected at the index-th number of that line (-1: column 1; line 0: the whole file)
    const char* says;
};

TEST(MapCheck, EachPlantedFaultIsFoundWithItsLineAndColumn)
{
    using S = MapFinding::Severity;
    const std::string good = mapText({"#####", "#S.R#", "###.#", "###E#"});
    const std::string cut = good.substr(0, good.find("\n0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n", 200));
    const Planted cases[] = {
        {"code 13", replaceLine(good, 2, "13" + good.substr(good.find('\n') + 2, 58)), S::Error, 2, 0, "13"},
        {"text in a row", replaceLine(good, 4, "0 3 x 8"), S::Error, 4, 2, "\"x\""},
        {"short row", replaceLine(good, 5, "0 0 0"), S::Error, 5, 3, "3 códigos"},
        {"few rows", cut + "\n", S::Error, 5, -1, "filas de las 30"},
        {"no start", mapText({"#####", "#...E"}), S::Error, 0, 0, "inicio"},
        {"bend without door", mapText(kBend), S::Warning, 3, 3, "puerta a la derecha"},
        {"dead end", mapText({"#####", "#S.R#", "###.#", "#####", "E"}), S::Warning, 4, 3, "callejón"},
        {"no way to the exit", mapText({"#####", "#S.R#", "###.#", "#####", "E"}), S::Warning, 3, 1, "no se puede llegar"},
        {"walled in", mapText({"###", "#S#", "###", "E"}), S::Warning, 3, 1, "encerrada"},
        {"no exit", mapText({"####", "#S.R", "###."}), S::Warning, 0, 0, "no tiene salida"},
        {"monster without bullets", mapText({"#######", "#S.M.E#"}), S::Warning, 3, 3, "faltan balas"},
        {"random squares may leave him short", mapText({"#######", "#S.?.E#"}), S::Note, 0, 0, "al azar"},
        {"a 31st number", replaceLine(good, 3, lineOf(good, 3) + " 7"), S::Note, 3, 30,
         "código 30"},
        {"two starts", mapText({"#####", "#S.S.E"}), S::Note, 3, 1, "la última"},
    };
    for (const Planted& planted : cases) {
        SCOPED_TRACE(planted.what);
        writeFile("planted.quorvane", planted.text);
        MapText text;
        readMapText("planted.quorvane", text);
        const MapCheck check = checkMap(text);
        bool found = false;
        for (const MapFinding& f : check.findings) {
            if (f.severity != planted.severity || f.text.find(planted.says) == std::string::npos)
                continue;
            found = true;
            EXPECT_EQ(f.place.line, planted.line) << f.text;
            if (planted.line > 0) {
                EXPECT_EQ(f.place.column, tokenColumn(planted.text, planted.line, planted.index)) << f.text;
            }
        }
        EXPECT_TRUE(found) << "not found";
        EXPECT_EQ(check.loads, planted.severity != S::Error);
    }
}

TEST(MapCheck, AMapWithDoorsAtItsBendsIsCleanAndItsRouteCountsTheSteps)
{
    writeFile("good.quorvane", mapText({"#####", "#S.R#", "###.#", "###E#"}));
    MapText text;
    ASSERT_TRUE(readMapText("good.quorvane", text));
    const MapCheck check = checkMap(text);
    EXPECT_TRUE(check.findings.empty()) << formatFinding("good", check.findings.front());
    ASSERT_TRUE(check.reachable);
    EXPECT_EQ(check.route->advances, 4);
    EXPECT_EQ(formatFinding("m.quorvane", {MapFinding::Severity::Warning, {3, 7}, "x"}), "m.quorvane:3:7: aviso: x");
}

TEST(MapRoute, TheShortestRouteHasTheFewestStepsThenTheFewestTurns)
{
    struct Case {
        const char* what;
        std::vector<std::string> picture;
        int steps, turns;
    };
    std::vector<std::string> noStairs = staircase();
    noStairs[3][3] = '#';
    // Two ways of 4 steps: along the top and down turns once, down the small
    // stair three times.
    const std::vector<std::string> corner = {"#####", "#SRR#", "##LR#", "###E#"};
    const Case cases[] = {
        {"the staircase", staircase(), 12, 11},
        {"the way round when the stairs are cut", noStairs, 16, 2},
        {"of two as long, the one with fewer turns", corner, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapText text;
        ASSERT_TRUE(parseMapText(mapText(c.picture), text));
        const auto route = findRoute(text.codes);
        ASSERT_TRUE(route.has_value());
        EXPECT_EQ(route->advances, c.steps);
        EXPECT_EQ(static_cast<int>(route->steps.size()) - route->advances, c.turns);
    }
}

// A map as a spreadsheet saves it: the numbers of every data line separated
// by sep instead of a space.
std::string separated(std::string text, char sep)
{
    for (size_t i = text.find('\n'); i < text.size(); ++i)
        if (text[i] == ' ')
            text[i] = sep;
    return text;
}

TEST_F(WorldTest, MapsSavedByOtherToolsLoadOrSayOnceWhatToChange)
{
    const std::vector<std::string> picture = {"#####", "#S.R#", "###.#", "###E#"};
    const std::string plain = mapText(picture), bom = "\xEF\xBB\xBF";
    MapText expected;
    ASSERT_TRUE(parseMapText(plain, expected));
    writeFile("simple.quorvane", plain);
    game.firstInit("simple.quorvane", sound);
    struct Case {
        const char* what;
        std::string text;
        int separatorColumn;  // 0: the map loads
    };
    const Case cases[] = {
        {"byte-order mark", bom + plain, 0},
        {"CR LF", mapText(picture, "\r\n"), 0},
        {"byte-order mark and CR LF", bom + mapText(picture, "\r\n"), 0},
        {"';' between the numbers", separated(plain, ';'), 2},
        {"',' and CR LF and a mark", bom + separated(mapText(picture, "\r\n"), ','), 2},
        {"a ';' before the first number", separated(plain, ';').insert(plain.find('\n') + 1, ";"), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapText text;
        EXPECT_EQ(parseMapText(c.text, text), c.separatorColumn == 0);
        // Read as if spaced all the same: what the drawing shows.
        EXPECT_EQ(std::memcmp(text.codes, expected.codes, sizeof text.codes), 0);
        if (c.separatorColumn == 0) {
            EXPECT_EQ(text.places[1][1].column, expected.places[1][1].column) << "the mark is not a column";
            writeFile("ajeno.quorvane", c.text);
            EXPECT_TRUE(game.loadMap("ajeno.quorvane")) << game.lastLoadError;
        } else {
            ASSERT_EQ(text.errors.size(), 1u) << text.errors.back().text;
            EXPECT_NE(text.errors[0].text.find("separe los números con espacios"), std::string::npos);
            EXPECT_EQ(text.errors[0].place.line, 2);
            EXPECT_EQ(text.errors[0].place.column, c.separatorColumn);
        }
        // Rewritten in the game's format, every one is the plain map.
        EXPECT_EQ(mapInGameFormat(c.text), plain);
    }
}

TEST_F(WorldTest, AMapThatCannotBeWonLoadsWithItsWarningsOnStandardError)
{
    writeFile("curva.quorvane", mapText(kBend));
    testing::internal::CaptureStderr();
    game.firstInit("curva.quorvane", sound);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game.lastLoadError.empty());
    EXPECT_EQ(game.player.col, 1);
    EXPECT_NE(said.find("curva.quorvane:3:"), std::string::npos) << said;
    EXPECT_NE(said.find("aviso: no se puede llegar"), std::string::npos) << said;

    testing::internal::CaptureStderr();
    writeFile("bien.quorvane", mapText({"#####", "#S.R#", "###.#", "###E#"}));
    EXPECT_TRUE(game.loadMap("bien.quorvane"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
}
