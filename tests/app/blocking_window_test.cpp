#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
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

// Watches the game view: the keys it is given, in order, and whether the
// level had already ended when each arrived; and its repaints.
class ViewWatch : public QObject {
public:
    explicit ViewWatch(const GameState& game) : game_(game) {}
    std::vector<int> keys;
    int keysDuringTheSequence = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            keys.push_back(static_cast<QKeyEvent*>(event)->key());
            keysDuringTheSequence += !game_.gameOver;
        } else if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }

private:
    const GameState& game_;
};

// Every sound of the game folder, so the game says what it says in play.
bool copyAllSounds(const QString& to)
{
    const QDir sounds(QStringLiteral(QUORVANE_GAME_DIR "/Sonidos"));
    for (const QString& name : sounds.entryList({QStringLiteral("*.wav")}, QDir::Files)) {
        const QString target = QDir(to).filePath(QStringLiteral("Sonidos/") + name);
        QFile::remove(target);
        if (!QFile::copy(sounds.filePath(name), target))
            return false;
    }
    const QString table = QDir(to).filePath(QString::fromLatin1(kSpeechTableFile));
    QFile::remove(table);
    return QFile::copy(QStringLiteral(QUORVANE_GAME_DIR "/") + QString::fromLatin1(kSpeechTableFile), table);
}

TEST(BlockingWindowTest, TheWinSequenceRepaintsAndKeepsTheKeysForAfterwards)
{
    GameFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(copyAllSounds(folder.path()));
    GameSession session;
    ASSERT_TRUE(session.start());
    GameView* view = session.window()->view();
    GameState& game = *session.game();
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_FALSE(input.nameEntry);
    QTest::keyClick(view, Qt::Key_Escape);  // the welcome skipped
    // One step from the exit.
    game.col = GameFolder::kExitCol - 1;

    ViewWatch watch(game);
    // While the sequence plays, as it is heard: keys typed on the keyboard at
    // the first alarm, and a part of the window to paint again during the
    // explosion, counted when the next sentence starts.
    bool typed = false;
    int paintsBeforeUpdate = -1, paintsAfterUpdate = -1;
    session.voices()->setListener([&](const std::string& file) {
        if (file == "Sonidos/AlarmaFinal.wav" && !typed) {
            typed = true;
            EXPECT_TRUE(sendKeysThroughServer(session.window()->winId(), {'h', 'j', 'k'}));
        } else if (file == "Sonidos/ExplosionFinal.wav") {
            paintsBeforeUpdate = watch.paints;
            view->update();
        } else if (file == "Sonidos/Ganaste.wav") {
            paintsAfterUpdate = watch.paints;
        }
    });

    QTest::keyClick(view, Qt::Key_Space);
    view->installEventFilter(&watch);
    ASSERT_TRUE(runUntil(session, [&] { return game.gameOver; }, 60000));
    session.voices()->setListener(nullptr);
    EXPECT_TRUE(typed);
    EXPECT_GT(paintsAfterUpdate, paintsBeforeUpdate);
    EXPECT_GE(paintsBeforeUpdate, 0);

    // The keys typed meanwhile reach the game once the sequence is over, all
    // of them and in their order.
    ASSERT_TRUE(runUntil(session, [&] { return watch.keys.size() >= 3; }, 5000));
    EXPECT_EQ(watch.keys, (std::vector<int>{Qt::Key_H, Qt::Key_J, Qt::Key_K}));
    EXPECT_EQ(watch.keysDuringTheSequence, 0);
    EXPECT_TRUE(input.leftRequested && input.centreRequested && input.rightRequested);
    view->removeEventFilter(&watch);
}

TEST(HeardWindowTest, WhereAmIRepeatAndALostLifeAreHeard)
{
    GameFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(copyAllSounds(folder.path()));
    GameSession session;
    ASSERT_TRUE(session.start());
    std::vector<std::string> heard;
    session.voices()->setListener([&](const std::string& file) { heard.push_back(file); });
    GameView* view = session.window()->view();
    GameState& game = *session.game();
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Escape);  // the welcome skipped
    const int row = GameFolder::kRow, col = GameFolder::kStartCol;
    game.cells[row][col + 1] = Cell{CellKind::DoorLeft, 0, 0, 0};
    game.cells[row][col + 2] = Cell{CellKind::BulletsRight, 0, 0, 0};
    game.cells[row][col + 3] = Cell{CellKind::SuperLeft, 3, 3, 6};
    auto step = [&] {
        const int32_t before = game.stepCount;
        QTest::keyClick(view, Qt::Key_Space);
        return runUntil(session, [&] { return game.stepCount > before; });
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
    EXPECT_EQ(game.lives, 5);
}

}  // namespace
