#include <QApplication>

#include "app_setup.h"
#include "game_session.h"

int main(int argc, char* argv[])
{
    configureSurfaceFormat();
    preferXWaylandForSteering();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    const QString map = mapArgument();
    enterGameFolder();
    GameSession session;
    session.setFirstMap(mapNameInGameFolder(map));
    return session.run();
}
