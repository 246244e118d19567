#include "announcements.h"
#include "game_state.h"

namespace {
// A life taken is said at once, with how many are left (1 to 5).
const Announcement kLifeLost[] = {
    {"Sonidos/VidaPerdida1.wav", "Perdiste una vida. Te queda una vida.\n"},
    {"Sonidos/VidaPerdida2.wav", "Perdiste una vida. Te quedan dos vidas.\n"},
    {"Sonidos/VidaPerdida3.wav", "Perdiste una vida. Te quedan tres vidas.\n"},
    {"Sonidos/VidaPerdida4.wav", "Perdiste una vida. Te quedan cuatro vidas.\n"},
    {"Sonidos/VidaPerdida5.wav", "Perdiste una vida. Te quedan cinco vidas.\n"},
};
}

// The check shared by mutants and super monsters: once 3 seconds have passed
// since the last passed check, the creature on the player's square moves to
// the side the cycle points at (0 left, 1 centre, 2 right).
GameState::ShiftResult GameState::shiftCreature(int32_t firstKind)
{
    const int32_t kind = currentCell.kind;
    if (kind < firstKind || kind > firstKind + 2 || gameOver)
        return ShiftResult::NotDue;
    nowTime = static_cast<float>(clock.now());
    if (!(nowTime - lastThreatTime > 3000.0f))
        return ShiftResult::NotDue;
    lastThreatTime = nowTime;
    const int32_t target = firstKind + threatCycle % 3;
    if (target == kind)
        return ShiftResult::Stayed;
    currentCell.kind = target;
    const Announcement a = announcementFor(target);
    SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
    addMessage(a.message);
    return ShiftResult::Moved;
}

void GameState::shiftMutant()
{
    if (shiftCreature(CellKind::MutantLeft) != ShiftResult::NotDue)
        ++threatCycle;
}

void GameState::shiftSuperMonster()
{
    const ShiftResult result = shiftCreature(CellKind::SuperLeft);
    if (result == ShiftResult::NotDue)
        return;
    if (result == ShiftResult::Moved && --lives <= 0) {
        loseLevel("Sonidos/PerdistePorMonstruoGigante.wav", "No tienes vidas, perdiste.\n");
    } else if (result == ShiftResult::Moved && lives <= 5) {
        const Announcement& lost = kLifeLost[lives - 1];
        SonidoMuerteMonstruo.playFile(lost.sound, 0, 0, kPlayOnce);
        addMessage(lost.message);
    }
    ++threatCycle;
}

void GameState::reportBullets(const char* prefix)
{
    if (bullets <= 0) {
        // A negative count cannot arise in play; it is spoken as none.
        SonidoBloqueando.playBlocking("Sonidos/00__M.wav");
        return;
    }
    if (bullets == 1) {
        SonidoBloqueando.playBlocking("Sonidos/01__M.wav");
        return;
    }
    char count[] = "Sonidos/15X_M.wav";
    if (bullets <= 15) {
        count[8] = static_cast<char>('0' + bullets / 10);
        count[9] = static_cast<char>('0' + bullets % 10);
        count[10] = '_';
    }
    SonidoBloqueando.playBlocking(prefix);
    SonidoBloqueando.playBlocking(count);
    SonidoBloqueando.playBlocking("Sonidos/Balas.wav");
}
