#include <QApplication>

#include "app_setup.h"
#include "game_session.h"

int main(int argc, char* argv[])
{
    configureSurfaceFormat();
    preferXWaylandForSteering();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    enterGameFolder();
    GameSession session;
    return session.run();
}
