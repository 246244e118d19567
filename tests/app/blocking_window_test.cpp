#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <vector>

#include "game_folder.h"
#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "main_window.h"
#include "session_driver.h"
#include "speech_table.h"
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

// The win's sounds as the game ships them, so the sequence lasts as long as
// in play (about 14 seconds).
bool copyWinSounds(const QString& to)
{
    const QDir game(QStringLiteral(QUORVANE_GAME_DIR));
    QStringList files = {"Sonidos/AlarmaFinal.wav", "Sonidos/ExplosionFinal.wav", "Sonidos/Ganaste.wav",
                         "Sonidos/MusicaFinal.wav", "Sonidos/FinalmenteTeQuedaron.wav", "Sonidos/Balas.wav",
                         "Sonidos/ATT_VolverAJugar.wav", QString::fromLatin1(kSpeechTableFile)};
    for (int n = 2; n <= 15; ++n)
        files << QStringLiteral("Sonidos/%1__M.wav").arg(n, 2, 10, QLatin1Char('0'));
    for (const QString& file : files) {
        QFile::remove(QDir(to).filePath(file));
        if (!QFile::copy(game.filePath(file), QDir(to).filePath(file)))
            return false;
    }
    return true;
}

TEST(BlockingWindowTest, TheWinSequenceRepaintsAndKeepsTheKeysForAfterwards)
{
    GameFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(copyWinSounds(folder.path()));
    GameSession session;
    ASSERT_TRUE(session.start());
    GameView* view = session.window()->view();
    GameState& game = *session.game();
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_FALSE(input.nameEntry);
    // One step from the exit.
    game.col = GameFolder::kExitCol - 1;

    ViewWatch watch(game);
    // While the sequence plays: keys typed on the keyboard, and a part of the
    // window to paint again.
    bool typedDuringTheSequence = false;
    int paintsBeforeUpdate = -1, paintsAfterUpdate = -1;
    QTimer::singleShot(1500, [&] {
        typedDuringTheSequence = game.reachedEnd && !game.gameOver;
        EXPECT_TRUE(sendKeysThroughServer(session.window()->winId(), {'h', 'j', 'k'}));
    });
    QTimer::singleShot(3000, [&] {
        paintsBeforeUpdate = watch.paints;
        view->update();
    });
    QTimer::singleShot(4500, [&] { paintsAfterUpdate = game.gameOver ? -1 : watch.paints; });

    QTest::keyClick(view, Qt::Key_Space);
    view->installEventFilter(&watch);
    ASSERT_TRUE(runUntil(session, [&] { return game.gameOver; }, 60000));
    EXPECT_TRUE(typedDuringTheSequence);
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

}  // namespace
