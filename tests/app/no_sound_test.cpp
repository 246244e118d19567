#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "game_folder.h"
#include "game_state.h"
#include "modal_helper.h"
#include "openal_sound.h"
#include "session_driver.h"
#include "wave_device.h"

namespace {

// OpenAL reads its configuration once, at the first device: before main().
const wavedevice::TestFolder kFolder;
const bool kConfigured = wavedevice::configureNoDevice(kFolder);

// Without a sound device the player, or his teacher, is told in a box that
// there is no sound and why; once it is closed the game is played in silence.
TEST(NoSound, BoxSaysWhyAndTheGameGoesOn)
{
    ASSERT_TRUE(kConfigured);
    GameFolder folder;
    // Every box is closed, so another one at the start cannot hang the test.
    BoxCloser boxes;
    const QStringList& texts = boxes.texts;
    GameSession session(folder.dir());
    ASSERT_TRUE(session.start());
    EXPECT_FALSE(session.audioDevice()->hasDevice());
    EXPECT_TRUE(texts.filter(QStringLiteral("No hay sonido: no se pudo abrir el dispositivo.")).size() == 1)
        << texts.join(u'\n').toStdString();

    ASSERT_TRUE(runUntilFocused(session));
    GameView* view = session.window()->view();
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Escape /* the welcome skipped */, Qt::Key_Space})
        QTest::keyClick(view, key);
    EXPECT_TRUE(runUntil(session, [&] { return session.game()->stats.stepCount == 1; }));
}

}  // namespace
