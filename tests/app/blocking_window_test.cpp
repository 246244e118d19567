#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "game_folder.h"
#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "main_window.h"
#include "session_driver.h"
#include "speech_table.h"
#include "voice_arbiter.h"
#include "x11_keys.h"

namespace {

// Every sound of the game folder, so the game says what it says in play,
// and the slow copies its speech table names.
bool copyAllSounds(const QString& to)
{
    for (const char* folder : {"Sonidos", "Lento/Sonidos", "Lento/SonidosLetras", "Lento/SonidosSeteo"}) {
        const QString sub = QString::fromLatin1(folder);
        const QDir sounds(QStringLiteral(QUORVANE_GAME_DIR "/") + sub);
        if (!QDir(to).mkpath(sub))
            return false;
        for (const QString& name : sounds.entryList({QStringLiteral("*.wav")}, QDir::Files)) {
            const QString target = QDir(to).filePath(sub + u'/' + name);
            QFile::remove(target);
            if (!QFile::copy(sounds.filePath(name), target))
                return false;
        }
    }
    const QString table = QDir(to).filePath(QString::fromLatin1(kSpeechTableFile));
    QFile::remove(table);
    return QFile::copy(QStringLiteral(QUORVANE_GAME_DIR "/") + QString::fromLatin1(kSpeechTableFile), table);
}

// A game past its name on the test folder's level, with every sound, and
// what it is heard to play.
struct HeldGame {
    GameFolder folder;
    GameSession session{folder.dir()};
    std::vector<std::string> heard;
    // Keys to type on the keyboard when a file starts to sound.
    std::map<std::string, std::vector<char>> typeAt;

    bool start()
    {
        if (!folder.ok() || !copyAllSounds(folder.path()) || !session.start())
            return false;
        session.voices()->setListener([this](const std::string& file) {
            heard.push_back(file);
            const auto keys = typeAt.find(file);
            if (keys != typeAt.end()) {
                EXPECT_TRUE(sendKeysThroughServer(session.window()->winId(), keys->second));
                typeAt.erase(keys);
            }
        });
        QTest::keyClick(view(), Qt::Key_A);
        QTest::keyClick(view(), Qt::Key_Return);
        QTest::keyClick(view(), Qt::Key_Escape);  // the welcome skipped
        return !session.input().nameEntry;
    }
    GameView* view() const { return session.window()->view(); }
    GameState& game() const { return *session.game(); }
    int count(const char* file) const { return static_cast<int>(std::count(heard.begin(), heard.end(), file)); }
    bool noRequests() const
    {
        const InputState& input = session.input();
        return !input.advanceRequested && !input.leftRequested && !input.centreRequested && !input.rightRequested;
    }
};

constexpr const char* kTick = "Sonidos/TeclaIgnorada.wav";

TEST(BlockingWindowTest, WhereAmICutShortBySpaceStepsRightAfter)
{
    HeldGame held;
    ASSERT_TRUE(held.start());
    GameState& game = held.game();
    held.typeAt["Sonidos/Nada.wav"] = {' '};
    const int32_t before = game.stats.stepCount;
    QTest::keyClick(held.view(), Qt::Key_D);
    ASSERT_TRUE(runUntil(held.session, [&] { return game.stats.stepCount == before + 1; }));
    // Nothing of the answer after the sentence Space cut.
    EXPECT_EQ(held.count("Sonidos/Nada.wav"), 1);
    EXPECT_EQ(held.count("Sonidos/Vidas6.wav"), 0);
    EXPECT_EQ(held.count(kTick), 0);
}

TEST(BlockingWindowTest, KeysDuringTheWinSkipToItsEndAndNeverReachTheNextLevel)
{
    HeldGame held;
    ASSERT_TRUE(held.start());
    GameState& game = held.game();
    game.player.col = GameFolder::kExitCol - 1;
    // A key during the first words skips to the closing sentence; one
    // during that sentence ticks.
    held.typeAt["Sonidos/Ganaste.wav"] = {'h'};
    held.typeAt["Sonidos/VolverOSiguiente.wav"] = {'k'};
    QTest::keyClick(held.view(), Qt::Key_Space);
    ASSERT_TRUE(runUntil(held.session, [&] { return game.gameOver; }, 20000));
    ASSERT_TRUE(runUntil(held.session, [&] { return held.count(kTick) == 1; }));
    EXPECT_EQ(held.count("Sonidos/VolverOSiguiente.wav"), 1);
    EXPECT_TRUE(held.noRequests());

    // A new level starts with nothing pending.
    QTest::keyClick(held.view(), Qt::Key_Return);
    EXPECT_FALSE(game.gameOver);
    ASSERT_TRUE(runUntilDrawn(held.session));
    EXPECT_EQ(game.stats.stepCount, 0);
    EXPECT_TRUE(held.noRequests());
}

TEST(HeardWindowTest, WhereAmIRepeatAndALostLifeAreHeard)
{
    HeldGame held;
    ASSERT_TRUE(held.start());
    GameSession& session = held.session;
    std::vector<std::string>& heard = held.heard;
    GameView* view = held.view();
    GameState& game = held.game();
    const int row = GameFolder::kRow, col = GameFolder::kStartCol;
    game.cells[row][col + 1] = Cell{CellKind::DoorLeft, 0, 0, 0};
    game.cells[row][col + 2] = Cell{CellKind::BulletsRight, 0, 0, 0};
    game.cells[row][col + 3] = Cell{CellKind::SuperLeft, 3, 3, 6};
    auto step = [&] {
        const int32_t before = game.stats.stepCount;
        QTest::keyClick(view, Qt::Key_Space);
        return runUntil(session, [&] { return game.stats.stepCount > before; });
    };
    auto has = [&](const char* file) { return std::find(heard.begin(), heard.end(), file) != heard.end(); };

    ASSERT_TRUE(step());
    EXPECT_TRUE(has("Sonidos/EncontrarPuertaIzq.wav"));
    heard.clear();
    QTest::keyClick(view, Qt::Key_D);  // the answer is said before the key returns
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard.front(), "Sonidos/EncontrarPuertaIzq.wav");
    EXPECT_EQ(heard.back(), "Sonidos/Vidas6.wav");
    const std::vector<std::string> whereAmI = heard;

    // O says it all again, once the option keys' one-second gate has passed.
    QElapsedTimer gate;
    gate.start();
    ASSERT_TRUE(runUntil(session, [&] { return gate.elapsed() > 1100; }));
    heard.clear();
    QTest::keyClick(view, Qt::Key_O);
    EXPECT_EQ(heard, whereAmI);

    ASSERT_TRUE(step());
    EXPECT_TRUE(has("Sonidos/RecargaBalasDer.wav"));
    ASSERT_TRUE(step());
    EXPECT_TRUE(runUntil(session, [&] { return has("Sonidos/VidaPerdida5.wav"); }));
    EXPECT_EQ(game.player.lives, 5);
}

}  // namespace
