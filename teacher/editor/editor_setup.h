#pragma once
#include <QImage>
#include <QString>
#include <string>
#include <vector>

// Where the editor finds what the game has: the installation's own maps
// folders (never written over), the teacher's game folder (where the file
// dialogs open), and the game's tile picture.
struct EditorPlaces {
    std::vector<std::string> dataFolders;
    QString home;
    QImage tile;
};

// programFolder: the folder the editor runs from (the build's game folder, or
// the installation's bin/).
EditorPlaces findEditorPlaces(const QString& programFolder);

// The game's tile picture (Data/casilla.bmp) of folder, top row first; null
// when it is missing or cannot be decoded.
QImage loadTilePicture(const QString& folder);
