#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>

#include "game_home.h"
#include "records_fixture.h"
#include "safe_file.h"
#include "settings_file.h"

namespace {
namespace fs = std::filesystem;

std::string read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

class GameHome : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quorvane-home-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        makeSource(root / "build" / "game");
    }
    void TearDown() override { fs::remove_all(root); }
    // A generated game folder as the build makes it.
    static void makeSource(const fs::path& game)
    {
        write(game / "Data" / "Font2.bmp", "BM");
        write(game / "Sonidos" / "Pasos.wav", "RIFF");
        write(game / "alsoft.conf", "[general]\n");
        write(game / "nivel1.quorvane", "/ Nivel 1\n");
        write(game / "nivel2.quorvane", "/ Nivel 2\n");
    }
    fs::path root;
};

TEST_F(GameHome, TheUsersFolderLinksWhatIsGeneratedCopiesMapsAndKeepsWhatTheTeacherPutThere)
{
    const fs::path home = root / "home" / "quorvane";
    write(home / "nivel2.quorvane", "/ Nivel 2 de la maestra\n");
    write(home / "SonidosLetras" / "a.wav", "mine");
    write(root / "build" / "game" / "SonidosLetras" / "a.wav", "built");
    std::string error;
    ASSERT_TRUE(prepareGameFolder(home, root / "build" / "game", &error)) << error;

    EXPECT_TRUE(fs::is_directory(home / "bd"));
    EXPECT_TRUE(fs::is_symlink(home / "Sonidos"));
    EXPECT_TRUE(fs::is_symlink(home / "alsoft.conf"));
    EXPECT_TRUE(isGameFolder(home));
    EXPECT_FALSE(fs::is_symlink(home / "nivel1.quorvane"));
    EXPECT_EQ(read(home / "nivel1.quorvane"), "/ Nivel 1\n");
    EXPECT_EQ(read(home / "nivel2.quorvane"), "/ Nivel 2 de la maestra\n");
    EXPECT_EQ(read(home / "SonidosLetras" / "a.wav"), "mine");

    // The build folder deleted: the reports stay; rebuilt elsewhere, the
    // links follow it at the next start.
    write(home / "bd" / "ana.db1", "informe");
    fs::remove_all(root / "build");
    EXPECT_FALSE(isGameFolder(home));
    EXPECT_EQ(read(home / "bd" / "ana.db1"), "informe");
    makeSource(root / "otra" / "game");
    ASSERT_TRUE(prepareGameFolder(home, root / "otra" / "game", &error)) << error;
    EXPECT_EQ(fs::read_symlink(home / "Sonidos"), root / "otra" / "game" / "Sonidos");
    EXPECT_TRUE(isGameFolder(home));
}

TEST_F(GameHome, TheFolderNamedOnTheCommandLineThenAGameFolderAtHandThenTheUsersOwn)
{
    const fs::path source = root / "build" / "game";
    const fs::path user = root / "user" / "quorvane";
    const fs::path teacher = root / "copia";
    makeSource(teacher);
    const fs::path elsewhere = root;
    std::string error;
    EXPECT_EQ(chooseGameFolder(root / "clase", teacher, {source}, user, &error), root / "clase");
    EXPECT_TRUE(isGameFolder(root / "clase"));
    EXPECT_EQ(chooseGameFolder({}, teacher, {source}, user, &error), teacher);
    EXPECT_EQ(chooseGameFolder({}, elsewhere, {root / "none", source}, user, &error), user);
    EXPECT_TRUE(isGameFolder(user));
    EXPECT_EQ(chooseGameFolder({}, elsewhere, {root / "none"}, root / "nada", &error), fs::path());
    EXPECT_FALSE(error.empty());

    ::setenv("XDG_DATA_HOME", "/datos", 1);
    EXPECT_EQ(userGameFolder(), fs::path("/datos/quorvane"));
    ::setenv("XDG_DATA_HOME", "relativa", 1);
    ::setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(userGameFolder(), fs::path("/home/ana/.local/share/quorvane"));
}

TEST_F(GameHome, TwoGamesPreparingAFreshFolderAtOnceBothGetItWhole)
{
    const fs::path source = root / "build" / "game";
    for (int round = 0; round < 10; ++round) {
        const fs::path home = root / ("home" + std::to_string(round));
        auto prepare = [&] { return prepareGameFolder(home, source, nullptr); };
        ASSERT_TRUE(runTogether({prepare, prepare})) << round;
        EXPECT_EQ(read(home / "nivel1.quorvane"), "/ Nivel 1\n");
        EXPECT_EQ(fs::read_symlink(home / "Sonidos"), source / "Sonidos");
        // Nothing else: no temporary file or link left behind.
        EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 6);
    }
}

TEST_F(GameHome, TheFolderIsPrivateACopyIsWholeOrNothingAndLeftoversGo)
{
    const fs::path source = root / "build" / "game";
    const fs::path user = root / "user" / "quorvane";
    const mode_t oldMask = umask(0);
    std::string error;
    ASSERT_EQ(chooseGameFolder({}, root, {source}, user, &error), user) << error;
    umask(oldMask);
    EXPECT_EQ(modeOf(user) | modeOf(user / "bd"), 0700u);
    // One an older game left open is closed at the next start.
    ASSERT_EQ(chmod((user / "bd").c_str(), 0755), 0);
    ASSERT_EQ(chooseGameFolder({}, root, {source}, user, &error), user) << error;
    EXPECT_EQ(modeOf(user / "bd"), 0700u);

    // A full disk stops a copy: nothing is left under the map's name, and
    // the game is told instead of being killed.
    const fs::path home = root / "llena";
    auto full = [&] {
        ignoreFileSizeSignal();
        struct rlimit tiny {4, 4};
        setrlimit(RLIMIT_FSIZE, &tiny);
        std::string why;
        return !prepareGameFolder(home, source, &why) && why.find("demasiado grande") != std::string::npos;
    };
    EXPECT_TRUE(runTogether({full}));
    EXPECT_FALSE(fs::exists(home / "nivel1.quorvane"));
    EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 4);  // bd/ and the three links

    // What an older game left: an empty map from a copy cut short is copied
    // again, a teacher's map stays; a temporary file no one writes any more
    // goes, one still written stays.
    write(home / "nivel1.quorvane", "");
    write(home / "nivel2.quorvane", "/ de la maestra\n");
    const std::string left = safeFileTempPrefix((home / "bd" / "ana.db1").string()) + "Ab12Cd";
    const std::string busy = safeFileTempPrefix((home / "bd" / "eva.db1").string()) + "Zz98Yy";
    for (const std::string& name : {left, busy})
        write(name, "a medias");
    const int held = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_TRUE(prepareGameFolder(home, source, &error)) << error;
    close(held);
    EXPECT_EQ(read(home / "nivel1.quorvane"), "/ Nivel 1\n");
    EXPECT_EQ(read(home / "nivel2.quorvane"), "/ de la maestra\n");
    EXPECT_TRUE(!fileExists(left) && fileExists(busy));
}

TEST_F(GameHome, AUserFolderThatCannotBeMadeReadyGivesWayToAPrivateOneThatIsNamed)
{
    const fs::path source = root / "build" / "game";
    const std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    ::setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
    ::setenv("TMPDIR", root.c_str(), 1);
    fs::create_directories(root / "run");

    // bd a file; the folder a dangling link.
    write(root / "a" / "quorvane" / "bd", "no es una carpeta");
    fs::create_directories(root / "b");
    fs::create_symlink(root / "ninguna", root / "b" / "quorvane");
    const std::pair<fs::path, std::string> broken[] = {{root / "a" / "quorvane", "no es una carpeta"},
                                                       {root / "b" / "quorvane", "enlace simbólico"}};
    for (const auto& [user, why] : broken) {
        std::string error, notice;
        EXPECT_EQ(chooseGameFolder({}, root, {source}, user, &error), fs::path());
        EXPECT_NE(error.find(why), std::string::npos) << error;
        EXPECT_EQ(fallbackGameFolder({source}, error, &notice), root / "run" / "quorvane");
        EXPECT_NE(notice.find(error + "\nLos informes"), std::string::npos) << notice;
        EXPECT_NE(notice.find("\"" + (root / "run" / "quorvane").string() + "\""), std::string::npos) << notice;
    }
    EXPECT_FALSE(fs::exists(root / "ninguna") || fs::exists(source / "bd"));
    // No runtime folder: a fresh one in the temporary folder.
    ::unsetenv("XDG_RUNTIME_DIR");
    const fs::path made = fallbackGameFolder({source}, "", nullptr);
    ::setenv("TMPDIR", saved.c_str(), 1);
    EXPECT_EQ(made.parent_path(), root);
    EXPECT_EQ(made.filename().string().rfind("quorvane-", 0), 0u) << made;
    for (const fs::path& folder : {root / "run" / "quorvane", made}) {
        EXPECT_TRUE(isGameFolder(folder)) << folder;
        EXPECT_EQ(modeOf(folder), 0700u) << folder;
    }
}

TEST_F(GameHome, TheTeachersSettingsComeBackAsWrittenAndABadFileGivesTheDefaults)
{
    const std::string file = (root / "ajustes.txt").string();
    EXPECT_EQ(readSettingsFile(file), TeacherSettings{}) << "no file";

    const TeacherSettings chosen{true, 8, false};
    std::string error;
    ASSERT_TRUE(writeSettingsFile(file, chosen, &error)) << error;
    EXPECT_EQ(readSettingsFile(file), chosen);
    EXPECT_NE(read(file).find("voz = lenta\ncriaturas = 8\ntrampas = no\n"), std::string::npos) << read(file);
    EXPECT_FALSE(writeSettingsFile((root / "no" / "ajustes.txt").string(), chosen, &error));
    EXPECT_FALSE(error.empty());

    // Each line that cannot be understood leaves its own setting at the
    // default; the others still count.
    const std::pair<std::string, TeacherSettings> cases[] = {
        {"voz = rapida\ncriaturas = 4\ntrampas = quizas\n", {}},
        {"criaturas = 5x\nvoz lenta\n=\n\n", {}},
        {"# voz = lenta\n  trampas =  no \r\ncriaturas=5\n", {false, 5, false}},
        {"voz = lenta\ncriaturas = 99999999999999999999\ntrampas = s\xC3\xAD\n", {true, 3, true}},
        {std::string("\x01\xFF\x00garbage", 10), {}},
    };
    for (const auto& [text, expected] : cases) {
        write(file, text);
        EXPECT_EQ(readSettingsFile(file), expected) << text;
    }
    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(readSettingsFile(file), TeacherSettings{}) << "a folder under the name";
}
}
