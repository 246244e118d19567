// quorvane-editor: draws and checks maps, by mouse or by keyboard alone with
// a screen reader, and tries them in the game.
#include <QApplication>

#include "app_setup.h"
#include "editor_window.h"
#include "editor_setup.h"
#include "grid_view.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    const EditorPlaces places = findEditorPlaces(QCoreApplication::applicationDirPath());
    EditorWindow window(places.dataFolders, places.home);
    window.grid()->setTile(places.tile);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && !window.openPath(arguments[1]))
        return 1;
    window.show();
    return app.exec();
}
