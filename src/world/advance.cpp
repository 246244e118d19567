#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"

namespace {
// The square ahead for a facing code; false for any other code.
bool stepFor(int32_t facing, int& dr, int& dc)
{
    dr = dc = 0;
    switch (facing) {
    case Facing::North: dr = -1; return true;
    case Facing::South: dr = 1; return true;
    case Facing::East: dc = 1; return true;
    case Facing::West: dc = -1; return true;
    default: return false;
    }
}
}

void GameState::advance()
{
    if (doorAhead) {
        sonido.playFile(catalogue::ErrarCen.file, 0, 0, kPlayOnce);
        ++doorBumps;
        return;
    }
    turnPending = true;

    int dr = 0, dc = 0;
    if (stepFor(facing, dr, dc)) {
        const int r = row + dr, c = col + dc;
        // A map that is not closed by walls: beyond its edge counts as wall.
        const bool inside = r >= 0 && r < kGridSize && c >= 0 && c < kGridSize;
        if (!inside || cells[r][c].kind == CellKind::Wall) {
            sonido.playFile(catalogue::Choque.file, 0, 0, kPlayOnce);
            currentCell = cells[row][col];
            ++wallBumps;
            return;
        }
        row = r;
        col = c;
        currentCell = cells[row][col];
    }

    // The path record keeps the first steps of a long level; the step itself
    // is taken all the same.
    if (stepCount < kPathSize) {
        stepTicks[stepCount] = clock.now();
        stepRows[stepCount] = row;
        stepCols[stepCount] = col;
        ++stepCount;
    }
    SonidoPasos.playFile(catalogue::Pasos.file, 0, 0, kPlayOnce);
    addMessage(catalogue::Avanzaste.written);

    const int32_t kind = currentCell.kind;
    if (kind == CellKind::Exit) {
        reachedEnd = true;
        winLevel();
    } else if (kind == CellKind::Trap) {
        reachedEnd = true;
        loseLevel(catalogue::Trampa);
    } else if (const Announcement a = announcementFor(kind); a.sound) {
        if (isCreature(kind)) {
            SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
            threatAhead = true;
            threatSideHeard = false;
        } else {
            sonido.playFile(a.sound, 0, 0, kPlayOnce);
        }
        addMessage(a.message);
        if (kind == CellKind::DoorCentre)
            doorAhead = true;
    }
}
