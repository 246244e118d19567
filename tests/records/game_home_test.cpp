#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "game_home.h"
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
