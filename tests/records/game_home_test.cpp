#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "game_home.h"
#include "safe_file.h"

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

mode_t modeOf(const fs::path& name)
{
    struct stat info {};
    return lstat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Runs each body in a process of its own, all let go at once; true when
// every one exited with 0 (a signal counts as a failure).
bool runTogether(const std::vector<std::function<bool()>>& bodies)
{
    int start[2];
    if (pipe(start) != 0)
        return false;
    std::vector<pid_t> pids;
    for (const auto& body : bodies) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(start[1]);
            char go;
            (void)!::read(start[0], &go, 1);
            _exit(body() ? 0 : 1);
        }
        pids.push_back(pid);
    }
    close(start[0]);
    close(start[1]);
    bool all = true;
    for (const pid_t pid : pids) {
        int status = 0;
        all = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && all;
    }
    return all;
}

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
    EXPECT_EQ(modeOf(user), 0700u);
    EXPECT_EQ(modeOf(user / "bd"), 0700u);
    // One made open by an older game is closed at the next start.
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
    for (const auto& entry : fs::directory_iterator(home))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();

    // What an older game left: an empty map from a copy cut short is copied
    // again, a teacher's map stays; the temporary files no one writes any
    // more go, one still written and the teacher's hidden file stay.
    write(home / "nivel1.quorvane", "");
    write(home / "nivel2.quorvane", "/ de la maestra\n");
    const fs::path left = safeFileTempPrefix((home / "nivel1.quorvane").string()) + "Ab12Cd";
    const fs::path leftReport = safeFileTempPrefix((home / "bd" / "ana.db1").string()) + "Ab12Cd";
    const fs::path busy = safeFileTempPrefix((home / "bd" / "eva.db1").string()) + "Zz98Yy";
    for (const fs::path& name : {left, leftReport, busy, home / "bd" / ".oculto"})
        write(name, "a medias");
    const int held = open(busy.c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_TRUE(prepareGameFolder(home, source, &error)) << error;
    close(held);
    EXPECT_EQ(read(home / "nivel1.quorvane"), "/ Nivel 1\n");
    EXPECT_EQ(read(home / "nivel2.quorvane"), "/ de la maestra\n");
    EXPECT_FALSE(fs::exists(left));
    EXPECT_FALSE(fs::exists(leftReport));
    EXPECT_TRUE(fs::exists(busy));
    EXPECT_TRUE(fs::exists(home / "bd" / ".oculto"));
}

TEST_F(GameHome, AUserFolderThatCannotBeMadeReadyGivesWayToAPrivateOneThatIsNamed)
{
    const fs::path source = root / "build" / "game";
    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR"};
    std::vector<std::string> saved;
    for (const char* name : names)
        saved.push_back(std::getenv(name) ? std::getenv(name) : "");
    ::setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
    ::setenv("TMPDIR", (root / "tmp").c_str(), 1);
    fs::create_directories(root / "run");
    fs::create_directories(root / "tmp");

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
        EXPECT_NE(notice.find(error), std::string::npos) << notice;
        EXPECT_NE(notice.find((root / "run" / "quorvane").string()), std::string::npos) << notice;
    }
    EXPECT_TRUE(isGameFolder(root / "run" / "quorvane"));
    EXPECT_EQ(modeOf(root / "run" / "quorvane"), 0700u);
    EXPECT_FALSE(fs::exists(root / "ninguna"));
    EXPECT_FALSE(fs::exists(source / "bd"));

    // No runtime folder: a fresh one of the temporary folder's.
    ::unsetenv("XDG_RUNTIME_DIR");
    std::string notice;
    const fs::path made = fallbackGameFolder({source}, "", &notice);
    EXPECT_EQ(made.parent_path(), root / "tmp");
    EXPECT_EQ(made.filename().string().rfind("quorvane-", 0), 0u) << made;
    EXPECT_EQ(modeOf(made), 0700u);
    EXPECT_TRUE(isGameFolder(made));

    for (size_t i = 0; i < saved.size(); ++i)
        saved[i].empty() ? ::unsetenv(names[i]) : ::setenv(names[i], saved[i].c_str(), 1);
}
}
