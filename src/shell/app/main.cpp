#include <QApplication>

#include "app_setup.h"
#include "game_session.h"
#include "screen_awake.h"

int main(int argc, char* argv[])
{
    configureSurfaceFormat();
    preferXWaylandForSteering();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    const GameDir folder = chooseGameDir();
    // Taken for the whole game, released when it ends.
    const ScreenAwake awake;
    GameSession session(folder);
    session.setFirstMap(mapNameInGameFolder(mapArgument(), folder));
    return session.run();
}
