#include "announcements.h"
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

void GameState::advance()
{
    if (doorAhead) {
        sonido.playFile("Sonidos/ErrarCen.wav", 0, 0, kPlayOnce);
        ++doorBumps;
        return;
    }
    Pose pose{row, col, facing, turnPending};
    const StepResult step = takeStep(pose, [this](int r, int c) { return cells[r][c].kind != CellKind::Wall; });
    turnPending = pose.turnPending;
    if (step == StepResult::Bumped) {
        sonido.playFile("Sonidos/Choque.wav", 0, 0, kPlayOnce);
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
    SonidoPasos.playFile("Sonidos/Pasos.wav", 0, 0, kPlayOnce);
    addMessage("Avanzaste un paso.\n");
    arriveOn(currentCell.kind);
}

void GameState::arriveOn(int32_t kind)
{
    if (kind == CellKind::Exit) {
        reachedEnd = true;
        winLevel();
    } else if (kind == CellKind::Trap) {
        reachedEnd = true;
        loseLevel("Sonidos/Trampa.wav", "Has sido atrapado.\n");
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
