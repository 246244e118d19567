#include "app_setup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSurfaceFormat>
#include <QTranslator>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "game_home.h"
#include "qt_shell_hooks.h"
#include "safe_file.h"

namespace {
const char* const kMapOption = "--mapa";
}  // namespace

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

void preferXWaylandForSteering()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
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

namespace {
// The folder named on the command line, whole; empty when none is.
std::filesystem::path namedFolder()
{
    std::filesystem::path named;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size() && named.empty(); ++i) {
        if (arguments[i] == QLatin1String(kMapOption)) {
            ++i;  // the map's name, not a folder
            continue;
        }
        if (arguments[i].startsWith(QLatin1Char('-')))
            continue;
        // A file named by mistake (a map, a report) is not made a folder.
        const QFileInfo info(arguments[i]);
        if (info.exists() && !info.isDir()) {
            std::fprintf(stderr, "quorvane: \"%s\" no es una carpeta; se juega en la de siempre.\n",
                         QFile::encodeName(arguments[i]).constData());
            continue;
        }
        named = QFile::encodeName(info.absoluteFilePath()).toStdString();
    }
    return named;
}
}  // namespace

GameDir chooseGameDir()
{
    // The generated sounds and pictures: beside the program in a build, in
    // the data folder of an installation (found from the program's own place
    // first, so that a moved installation still finds its data).
    const std::filesystem::path own = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::vector<std::filesystem::path> sources = {
        own, own / ".." / QUORVANE_DATA_SUBDIR, std::filesystem::path(QUORVANE_DATA_DIR)};

    // A file-size limit then fails a write with a message instead of
    // killing the game with the level's report unwritten.
    ignoreFileSizeSignal();
    std::string error;
    std::filesystem::path folder = chooseGameFolder(
        namedFolder(), QFile::encodeName(QDir::currentPath()).toStdString(), sources, userGameFolder(), &error);
    if (folder.empty()) {
        // Never the build or installation folder: a private one, and the
        // player or teacher is told where the files go.
        std::string notice;
        folder = fallbackGameFolder(sources, error, &notice);
        std::fprintf(stderr, "quorvane: %s\n", notice.c_str());
        showMessageBox(nullptr, QStringLiteral("Quorvane"), QString::fromStdString(notice), false);
    }
    // Else play where the files are, if anywhere, so the game is still heard.
    for (auto it = sources.begin(); folder.empty() && it != sources.end(); ++it)
        if (isGameFolder(*it))
            folder = *it;
    return GameDir(std::filesystem::absolute(folder.empty() ? std::filesystem::current_path() : folder));
}

QString mapArgument()
{
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype at = arguments.indexOf(QLatin1String(kMapOption));
    if (at < 0)
        return {};
    if (at + 1 >= arguments.size()) {
        std::fprintf(stderr, "quorvane: falta el mapa tras %s; se juega el primer nivel.\n", kMapOption);
        return {};
    }
    return QFileInfo(arguments[at + 1]).absoluteFilePath();
}

std::string mapNameInGameFolder(const QString& map, const GameDir& folder)
{
    if (map.isEmpty())
        return {};
    const QFileInfo info(map);
    const QDir game(QFile::decodeName(folder.root().c_str()));
    const QString name = info.absoluteDir() == game ? info.fileName() : info.absoluteFilePath();
    return QFile::encodeName(name).toStdString();
}
