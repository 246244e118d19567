#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"
#include "movement.h"

// What stands on the square just reached, said and written; a creature's
// sentence repeats until it moves or dies.
static void announceArrival(GameState& g, int32_t kind)
{
    const Announcement a = announcementFor(kind);
    if (!a.sound)
        return;
    if (isCreature(kind)) {
        g.channels.SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
        g.player.threatAhead = true;
        g.threatClock.threatSideHeard = false;
    } else {
        g.channels.sonido.playFile(a.sound, 0, 0, kPlayOnce);
    }
    g.addMessage(a.message);
    if (kind == CellKind::DoorCentre)
        g.player.doorAhead = true;
}

void GameState::advance()
{
    if (player.doorAhead) {
        channels.sonido.playFile(catalogue::ErrarCen.file, 0, 0, kPlayOnce);
        ++stats.doorBumps;
        return;
    }
    Pose pose{player.row, player.col, player.facing, player.turnPending};
    const StepResult step = takeStep(pose, [this](int r, int c) { return cells[r][c].kind != CellKind::Wall; });
    player.turnPending = pose.turnPending;
    if (step == StepResult::Bumped) {
        channels.sonido.playFile(catalogue::Choque.file, 0, 0, kPlayOnce);
        player.standOn(cells, player.row, player.col);
        ++stats.wallBumps;
        return;
    }
    if (step == StepResult::Moved)
        player.standOn(cells, pose.row, pose.col);
    stats.recordStep(clock.now(), player.row, player.col);
    channels.SonidoPasos.playFile(catalogue::Pasos.file, 0, 0, kPlayOnce);
    addMessage(catalogue::Avanzaste.written);
    arriveOn(player.currentCell.kind);
}

void GameState::arriveOn(int32_t kind)
{
    if (kind == CellKind::Exit) {
        stats.reachedEnd = true;
        winLevel();
    } else if (kind == CellKind::Trap) {
        stats.reachedEnd = true;
        loseLevel(catalogue::Trampa);
    } else {
        announceArrival(*this, kind);
    }
}
