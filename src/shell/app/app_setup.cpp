#include "app_setup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSurfaceFormat>
#include <QTranslator>

void configureSurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(16);
    format.setRedBufferSize(5);
    format.setGreenBufferSize(5);
    format.setBlueBufferSize(5);
    QSurfaceFormat::setDefaultFormat(format);

    // While a sentence blocks the game, keys and clicks are left in the queue
    // and handled when it ends. Qt's GLib event loop only looks at that queue
    // again when a new event comes from the display, so keys typed during a
    // sentence would wait for the next key; Qt's own loop takes them at once.
    qputenv("QT_NO_GLIB", "1");
}

bool installSpanishTranslation(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

void enterGameFolder()
{
    const QString marker = QStringLiteral("Data/Font2.bmp");
    if (QFileInfo::exists(marker))
        return;
    const QString own = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(own + QLatin1Char('/') + marker))
        QDir::setCurrent(own);
}
