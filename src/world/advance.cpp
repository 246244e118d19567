#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"
#include "movement.h"

namespace {
// The path record keeps the first steps of a long level; the step itself is
// taken all the same.
void recordStep(GameState& g)
{
    if (g.stepCount >= kPathSize)
        return;
    g.stepTicks[g.stepCount] = g.clock.now();
    g.stepRows[g.stepCount] = g.row;
    g.stepCols[g.stepCount] = g.col;
    ++g.stepCount;
}
}  // namespace

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
    Pose pose{row, col, facing, turnPending};
    const StepResult step = takeStep(pose, [this](int r, int c) { return cells[r][c].kind != CellKind::Wall; });
    turnPending = pose.turnPending;
    if (step == StepResult::Bumped) {
        sonido.playFile(catalogue::Choque.file, 0, 0, kPlayOnce);
        currentCell = cells[row][col];
        ++wallBumps;
        return;
    }
    if (step == StepResult::Moved) {
        row = pose.row;
        col = pose.col;
        currentCell = cells[row][col];
    }
    recordStep(*this);
    SonidoPasos.playFile(catalogue::Pasos.file, 0, 0, kPlayOnce);
    addMessage(catalogue::Avanzaste.written);
    arriveOn(currentCell.kind);
}

void GameState::arriveOn(int32_t kind)
{
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
