#include <algorithm>
#include <iterator>

#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"

namespace {
constexpr Tick kLongestFrameMs = ThreatClock::kLongestFrameMs;
// How long a due move waits for the creature's repeated sentence to reach a
// pause, so that no half word of the old side comes just before the new one.
constexpr float kPauseWaitMs = 4000.0f;

}

// The check shared by mutants and super monsters. A creature's seconds
// start once the player has heard its side in full, on arrival and after
// each move, and run only while the game takes input; then it moves to the
// side the cycle points at (0 left, 1 centre, 2 right), at a pause of its
// sentence.
GameState::ShiftResult GameState::shiftCreature(int32_t firstKind)
{
    threatClock.run(clock.now());
    const int32_t kind = player.currentCell.kind;
    if (kind < firstKind || kind > firstKind + 2 || gameOver)
        return ShiftResult::NotDue;
    if (!threatClock.threatSideHeard) {
        if (!channels.SonidoMonstruos.saidInFull())
            return ShiftResult::NotDue;
        threatClock.threatSideHeard = true;
        threatClock.lastThreatTime = threatClock.nowTime;
        return ShiftResult::NotDue;
    }
    // A creature moves every few seconds of play, as the teacher set (3 by
    // default).
    const float interval = 1000.0f * static_cast<float>(levelSettings.shiftSeconds);
    const float waited = threatClock.nowTime - threatClock.lastThreatTime;
    if (!(waited > interval))
        return ShiftResult::NotDue;
    if (channels.SonidoMonstruos.isSpeaking() && waited <= interval + kPauseWaitMs)
        return ShiftResult::NotDue;
    threatClock.lastThreatTime = threatClock.nowTime;
    const int32_t target = firstKind + threatClock.threatCycle % 3;
    if (target == kind)
        return ShiftResult::Stayed;
    player.currentCell.kind = target;
    const Announcement a = announcementFor(target);
    channels.SonidoMonstruos.playFile(a.sound, 0, 0, kPlayLooping);
    addMessage(a.message);
    threatClock.threatSideHeard = false;
    return ShiftResult::Moved;
}

Tick GameState::msUntilThreatDue() const
{
    const int32_t kind = player.currentCell.kind;
    const bool mutant = kind >= CellKind::MutantLeft && kind <= CellKind::MutantLeft + 2;
    const bool super = kind >= CellKind::SuperLeft && kind <= CellKind::SuperLeft + 2;
    if (gameOver || !(mutant || super))
        return kNoThreatDue;
    // The side not yet heard in full waits on the sound, which the caller
    // follows; so does a move waiting for a pause of the sentence.
    if (!threatClock.threatSideHeard)
        return 0;
    // A pass longer than kLongestFrameMs would not count whole: the clock
    // runs only while passes come at least that often.
    const Tick sinceCheck = std::min<Tick>(clock.now() - threatClock.lastThreatCheck, kLongestFrameMs);
    const float interval = 1000.0f * static_cast<float>(levelSettings.shiftSeconds);
    const float left = interval - (threatClock.nowTime + static_cast<float>(sinceCheck) - threatClock.lastThreatTime);
    if (left < 0.0f)
        return 0;
    return std::min<Tick>(static_cast<Tick>(left) + 1, kLongestFrameMs - sinceCheck);
}

void GameState::shiftMutant()
{
    if (shiftCreature(CellKind::MutantLeft) != ShiftResult::NotDue)
        ++threatClock.threatCycle;
}

void GameState::shiftSuperMonster()
{
    const ShiftResult result = shiftCreature(CellKind::SuperLeft);
    if (result == ShiftResult::NotDue)
        return;
    if (result == ShiftResult::Moved && --player.lives <= 0) {
        loseLevel(catalogue::PerdistePorMonstruoGigante);
    } else if (result == ShiftResult::Moved && player.lives <= 5) {
        // Channels that are free during a fight: no door or bullets stand on
        // a creature's square, and the jingle and letters belong to starts.
        // A life taken is heard at once as a blow; how many are left (1 to
        // 5) is said once the player has heard where the super monster went.
        channels.sonido.playFile(catalogue::VidaPerdida.file, 0, 0, kPlayOnce);
        static_assert(std::size(catalogue::kLivesLeftAfterLoss) == 5, "a sentence for 1 to 5 lives left");
        const catalogue::Line& left = catalogue::kLivesLeftAfterLoss[player.lives - 1];
        channels.SonidosExtras.playFile(left.file, 0, kPriorityMustHear, kPlayOnce);
        addMessage(left.written);
    }
    ++threatClock.threatCycle;
}

void GameState::reportBullets(const char* prefix)
{
    if (player.bullets <= 0) {
        // A negative count cannot arise in play; it is spoken as none.
        channels.SonidoBloqueando.playBlocking(catalogue::kBulletCounts[0].file);
        return;
    }
    if (player.bullets == 1) {
        channels.SonidoBloqueando.playBlocking(catalogue::kBulletCounts[1].file);
        return;
    }
    constexpr int32_t kMostCounted = std::size(catalogue::kBulletCounts) - 1;
    const catalogue::Line& count =
        player.bullets <= kMostCounted ? catalogue::kBulletCounts[player.bullets] : catalogue::BulletsOverFifteen;
    channels.SonidoBloqueando.playBlocking(prefix);
    channels.SonidoBloqueando.playBlocking(count.file);
    channels.SonidoBloqueando.playBlocking(catalogue::Balas.file);
}
