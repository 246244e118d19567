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
