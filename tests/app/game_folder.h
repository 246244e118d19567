#pragma once
#include <QString>
#include <QTemporaryDir>

#include "game_dir.h"

// A small game folder for the window tests, made in a temporary directory
// and handed to the game (dir()): the two bitmaps, a map with a
// straight corridor, the report folder and every sound the game plays, each
// 20 ms of silence.
//
// The map "nivel1.quorvane": the start square at row 5, column 2, facing east
// down a corridor (columns 3 to 6) that ends at the exit (column 7).
class GameFolder {
public:
    GameFolder();
    QString path() const { return dir_.path(); }
    // The folder as the game takes it.
    GameDir dir() const;
    // Where a file the game names lies in it.
    QString file(const QString& name) const;
    bool ok() const { return ok_; }

    static constexpr int kRow = 5;
    static constexpr int kStartCol = 2;
    static constexpr int kExitCol = 7;
    // Grey of the map square picture; the player's square shows its red part.
    static constexpr int kTileGrey = 0x80;

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};
