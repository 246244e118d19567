#include "editor_setup.h"

#include <QDir>
#include <QFile>

#include "bitmap.h"
#include "game_home.h"
#include "map_document.h"

QImage loadTilePicture(const QString& folder)
{
    const std::string path = QFile::encodeName(folder + QStringLiteral("/Data/casilla.bmp")).toStdString();
    if (!QFile::exists(QFile::decodeName(path.c_str())))
        return {};
    const std::optional<RgbImage> image = decodeBitmapFile(path, nullptr);
    if (!image)
        return {};
    // The decoder gives rows bottom first, as OpenGL takes them.
    const QImage rows(image->pixels.data(), image->width, image->height, image->width * 3, QImage::Format_RGB888);
    return rows.mirrored(false, true);
}

EditorPlaces findEditorPlaces(const QString& programFolder)
{
    EditorPlaces places;
    const std::string own = QFile::encodeName(programFolder).toStdString();
    const std::vector<std::string> candidates = {own, own + "/../" QUORVANE_DATA_SUBDIR, QUORVANE_DATA_DIR};
    for (const std::string& folder : candidates)
        if (isGameFolder(folder))
            places.dataFolders.push_back(folder);
    // Started by the game, the editor runs in the folder the game plays in;
    // otherwise the teacher's maps are in his own game folder.
    const std::filesystem::path user = userGameFolder();
    const bool inGameFolder = isGameFolder(QFile::encodeName(QDir::currentPath()).toStdString()) &&
                              !isShippedMapPath(QFile::encodeName(QDir::currentPath() + "/x").toStdString(),
                                                places.dataFolders);
    places.home = inGameFolder                                                ? QDir::currentPath()
                  : !user.empty() && std::filesystem::is_directory(user) ? QFile::decodeName(user.c_str())
                                                                         : QDir::homePath();
    for (const std::string& folder : places.dataFolders) {
        places.tile = loadTilePicture(QFile::decodeName(folder.c_str()));
        if (!places.tile.isNull())
            break;
    }
    return places;
}
