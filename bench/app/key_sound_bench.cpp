// Key press to sound on the real program: a game session in a real window
// (run it under `xvfb-run -a`) with real OpenAL (the null backend when the
// machine has no sound card) and the game's own OpenAL settings. Another
// thread posts Space presses at random moments, as a keyboard would deliver
// them, while the main loop runs exactly as in the game; the time from each
// press to the start of the step sound's source is collected, and the output
// latency the device reports is added for the time to the speaker.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "app_setup.h"
#include "game_folder.h"
#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "input_state.h"
#include "main_window.h"
#include "openal_sound.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kPresses = 150;
// Pauses between presses, as a player walking and listening makes them; all
// longer than the input step's 100 ms, so every press is carried out.
constexpr int kShortestPauseMs = 150;
constexpr int kLongestPauseMs = 450;
constexpr int kHoldMs = 40;
// Then presses after a rest long enough for the device to stop mixing (3 s
// of silence, noticed at the loop's next wake-up, at most a second on): the
// press wakes it before the step sound starts.
constexpr int kRestedPresses = 12;
constexpr int kRestMs = 5000;

struct Figures {
    double min, median, p90, max;
};

Figures figuresOf(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    auto at = [&ms](double share) { return ms[std::min(ms.size() - 1, static_cast<size_t>(share * ms.size()))]; };
    return {ms.front(), at(0.5), at(0.9), ms.back()};
}

void print(const char* what, const Figures& f)
{
    std::printf("%-32s min %6.1f  median %6.1f  p90 %6.1f  max %6.1f ms\n", what, f.min, f.median, f.p90, f.max);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    GameFolder folder;
    // The game's own mixing period, read from the game folder as the game does.
    if (!folder.ok() || !QFile::copy(QStringLiteral(QUORVANE_ALSOFT_CONF), folder.file(QStringLiteral("alsoft.conf"))))
        return 1;

    GameSession session(folder.dir());
    if (!session.start())
        return 1;
    OpenAlSound* device = session.audioDevice();
    if (device == nullptr || !device->hasDevice()) {
        std::printf("no sound device; nothing to measure\n");
        return 1;
    }
    GameView* view = session.window()->view();
    session.runPass();
    QTest::keyClick(view, Qt::Key_Return);
    while (session.input().nameEntry && session.runPass())
        session.pace();
    // The welcome that follows the name would take the presses as lessons.
    QTest::keyClick(view, Qt::Key_Escape);
    GameState& game = *session.game();
    const int stepVoice = game.channels.SonidoPasos.voice;

    // Written by the pressing thread before it posts a press, read by the
    // main loop when the step sound starts.
    std::atomic<SteadyClock::rep> pressedAt{0};
    std::atomic<bool> awaited{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> afterRest{false};
    std::vector<double> delays, restedDelays;
    std::atomic<int> pressNumber{-1};
    int foundResting = 0, lastFoundResting = -1;
    device->setPlayObserver([&](int voice) {
        if (voice != stepVoice || !awaited.exchange(false))
            return;
        const SteadyClock::duration since = SteadyClock::now().time_since_epoch() - SteadyClock::duration(pressedAt.load());
        (afterRest ? restedDelays : delays).push_back(std::chrono::duration<double, std::milli>(since).count());
    });

    std::thread presser([&] {
        std::mt19937 random(20261208);
        std::uniform_int_distribution<int> pause(kShortestPauseMs, kLongestPauseMs);
        for (int i = 0; i < kPresses + kRestedPresses; ++i) {
            afterRest = i >= kPresses;
            pressNumber = i;
            std::this_thread::sleep_for(std::chrono::milliseconds(afterRest ? kRestMs : pause(random)));
            pressedAt = SteadyClock::now().time_since_epoch().count();
            awaited = true;
            QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
            std::this_thread::sleep_for(std::chrono::milliseconds(kHoldMs));
            QCoreApplication::postEvent(view, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kLongestPauseMs));
        finished = true;
    });

    // The corridor ends at the exit, whose sentences block; the player is
    // put back on the start square before he reaches it.
    while (!finished && session.runPass()) {
        if (game.player.col >= GameFolder::kExitCol - 1) {
            game.player.col = GameFolder::kStartCol;
            game.player.currentCell = game.cells[GameFolder::kRow][GameFolder::kStartCol];
        }
        session.pace();
        // A press taken while the device rests: the next pass's sound wakes it.
        if (afterRest && awaited && device->isResting() && pressNumber != lastFoundResting) {
            lastFoundResting = pressNumber;
            ++foundResting;
        }
    }
    presser.join();
    device->setPlayObserver(nullptr);

    if (delays.size() < static_cast<size_t>(kPresses) || restedDelays.size() < static_cast<size_t>(kRestedPresses)) {
        std::printf("only %zu of %d presses started the step sound\n", delays.size() + restedDelays.size(),
                    kPresses + kRestedPresses);
        return 1;
    }
    const double latency = device->outputLatencyMs();
    std::printf("%d presses, pauses %d-%d ms\n", kPresses, kShortestPauseMs, kLongestPauseMs);
    print("key press -> source started:", figuresOf(delays));
    std::printf("%-32s %.2f ms\n", "device output latency:", latency);
    std::vector<double> total(delays);
    for (double& d : total)
        d += std::max(latency, 0.0);
    print("key press -> sound out:", figuresOf(total));
    std::printf("%d presses after %d ms of silence, %d of them waking the resting device\n", kRestedPresses, kRestMs,
                foundResting);
    print("key press -> source started:", figuresOf(restedDelays));
    return 0;
}
