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

// The path record keeps the first steps of a long level; the step itself
// is taken all the same.
static void recordStep(GameState& g)
{
    if (g.stepCount >= kPathSize)
        return;
    g.stepTicks[g.stepCount] = g.clock.now();
    g.stepRows[g.stepCount] = g.row;
    g.stepCols[g.stepCount] = g.col;
    ++g.stepCount;
}

// What stands on the square just reached, said and written; a creature's
// sentence repeats until it moves or dies.
static void announceArrival(GameState& g, int32_t kind)
{
    const Announcement a = announcementFor(kind);
    if (!a.sound)
        return;
    if (isCreature(kind)) {
        g.SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
        g.threatAhead = true;
        g.threatSideHeard = false;
    } else {
        g.sonido.playFile(a.sound, 0, 0, kPlayOnce);
    }
    g.addMessage(a.message);
    if (kind == CellKind::DoorCentre)
        g.doorAhead = true;
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

    recordStep(*this);
    SonidoPasos.playFile(catalogue::Pasos.file, 0, 0, kPlayOnce);
    addMessage(catalogue::Avanzaste.written);

    const int32_t kind = currentCell.kind;
    if (kind == CellKind::Exit) {
        reachedEnd = true;
        winLevel();
    } else if (kind == CellKind::Trap) {
        reachedEnd = true;
        loseLevel(catalogue::Trampa);
    } else {
        announceArrival(*this, kind);
    }
}
