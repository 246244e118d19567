#include <algorithm>
#include <iterator>

#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"

namespace {
// A pass of the main loop longer than this was the game holding (a sentence
// played to its end, a dialog): the creatures wait for the player, so such a
// pass counts as this much of their time.
constexpr Tick kLongestFrameMs = 100;
// How long a due move waits for the creature's repeated sentence to reach a
// pause, so that no half word of the old side comes just before the new one.
constexpr float kPauseWaitMs = 4000.0f;

}

void GameState::runCreatureClock()
{
    const Tick now = clock.now();
    const Tick gap = now - lastThreatCheck;
    lastThreatCheck = now;
    nowTime += static_cast<float>(std::min(gap, kLongestFrameMs));
}

// The check shared by mutants and super monsters. A creature's seconds
// start once the player has heard its side in full, on arrival and after
// each move, and run only while the game takes input; then it moves to the
// side the cycle points at (0 left, 1 centre, 2 right), at a pause of its
// sentence.
GameState::ShiftResult GameState::shiftCreature(int32_t firstKind)
{
    runCreatureClock();
    const int32_t kind = currentCell.kind;
    if (kind < firstKind || kind > firstKind + 2 || gameOver)
        return ShiftResult::NotDue;
    if (!threatSideHeard) {
        if (!SonidoMonstruos.saidInFull())
            return ShiftResult::NotDue;
        threatSideHeard = true;
        lastThreatTime = nowTime;
        return ShiftResult::NotDue;
    }
    // A creature moves every few seconds of play, as the teacher set (3 by
    // default).
    const float interval = 1000.0f * static_cast<float>(levelSettings.shiftSeconds);
    const float waited = nowTime - lastThreatTime;
    if (!(waited > interval))
        return ShiftResult::NotDue;
    if (SonidoMonstruos.isSpeaking() && waited <= interval + kPauseWaitMs)
        return ShiftResult::NotDue;
    lastThreatTime = nowTime;
    const int32_t target = firstKind + threatCycle % 3;
    if (target == kind)
        return ShiftResult::Stayed;
    currentCell.kind = target;
    const Announcement a = announcementFor(target);
    SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
    addMessage(a.message);
    threatSideHeard = false;
    return ShiftResult::Moved;
}

Tick GameState::msUntilThreatDue() const
{
    const int32_t kind = currentCell.kind;
    const bool mutant = kind >= CellKind::MutantLeft && kind <= CellKind::MutantLeft + 2;
    const bool super = kind >= CellKind::SuperLeft && kind <= CellKind::SuperLeft + 2;
    if (gameOver || !(mutant || super))
        return kNoThreatDue;
    // The side not yet heard in full waits on the sound, which the caller
    // follows; so does a move waiting for a pause of the sentence.
    if (!threatSideHeard)
        return 0;
    // A pass longer than kLongestFrameMs would not count whole: the clock
    // runs only while passes come at least that often.
    const Tick sinceCheck = std::min<Tick>(clock.now() - lastThreatCheck, kLongestFrameMs);
    const float interval = 1000.0f * static_cast<float>(levelSettings.shiftSeconds);
    const float left = interval - (nowTime + static_cast<float>(sinceCheck) - lastThreatTime);
    if (left < 0.0f)
        return 0;
    return std::min<Tick>(static_cast<Tick>(left) + 1, kLongestFrameMs - sinceCheck);
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
        loseLevel(catalogue::PerdistePorMonstruoGigante);
    } else if (result == ShiftResult::Moved && lives <= 5) {
        // Channels that are free during a fight: no door or bullets stand on
        // a creature's square, and the jingle and letters belong to starts.
        // A life taken is heard at once as a blow; how many are left (1 to
        // 5) is said once the player has heard where the super monster went.
        sonido.playFile(catalogue::VidaPerdida.file, 0, 0, kPlayOnce);
        static_assert(std::size(catalogue::kLivesLeftAfterLoss) == 5, "a sentence for 1 to 5 lives left");
        const catalogue::Line& left = catalogue::kLivesLeftAfterLoss[lives - 1];
        SonidosExtras.playFile(left.file, 0, kPriorityMustHear, kPlayOnce);
        addMessage(left.written);
    }
    ++threatCycle;
}

void GameState::reportBullets(const char* prefix)
{
    if (bullets <= 0) {
        // A negative count cannot arise in play; it is spoken as none.
        SonidoBloqueando.playBlocking(catalogue::kBulletCounts[0].file);
        return;
    }
    if (bullets == 1) {
        SonidoBloqueando.playBlocking(catalogue::kBulletCounts[1].file);
        return;
    }
    constexpr int32_t kMostCounted = std::size(catalogue::kBulletCounts) - 1;
    const catalogue::Line& count =
        bullets <= kMostCounted ? catalogue::kBulletCounts[bullets] : catalogue::BulletsOverFifteen;
    SonidoBloqueando.playBlocking(prefix);
    SonidoBloqueando.playBlocking(count.file);
    SonidoBloqueando.playBlocking(catalogue::Balas.file);
}
