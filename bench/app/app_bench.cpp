#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app_setup.h"
#include "game_folder.h"
#include "game_session.h"
#include "game_state.h"
#include "frame.h"
#include "game_view.h"
#include "input_state.h"
#include "main_window.h"

namespace {

// How long each waiting state is measured.
constexpr int kIdleMs = 20000;

// Processor time of the whole process (all threads, the GL rasteriser's
// included), in milliseconds.
double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The loop as the game runs it, paced, for a while; the share of one core
// it used; the passes run and the frames drawn meanwhile, per second.
double idleShare(GameSession& session, int ms)
{
    QElapsedTimer wall;
    const double before = processorMs();
    const int passes = session.framesRun();
    const int shown = session.framesShown();
    wall.start();
    while (wall.elapsed() < ms && session.runPass())
        session.pace();
    const double seconds = static_cast<double>(wall.elapsed()) / 1e3;
    std::printf("  %.1f passes and %.1f frames drawn a second; ", (session.framesRun() - passes) / seconds,
                (session.framesShown() - shown) / seconds);
    return (processorMs() - before) / static_cast<double>(wall.elapsed());
}

// Resident set size of the process, in kB (0 if it cannot be read).
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// A map whose 900 squares are all drawn: every square open, the start in the
// bottom right corner.
bool writeFullMap(const char* name)
{
    QByteArray text;
    for (int row = 0; row < 30; ++row)
        for (int col = 0; col < 30; ++col)
            text += (row == 29 && col == 29 ? "1" : "3") + QByteArray(col < 29 ? " " : "\n");
    QFile file(QString::fromLatin1(name));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    GameFolder folder;
    if (!folder.ok())
        return 1;

    GameSession session(folder.dir());
    if (!session.start())
        return 1;
    session.runPass();
    const qint64 firstFrame = sinceStart.elapsed();
    std::printf("start to first frame: %lld ms\n", static_cast<long long>(firstFrame));

    // The three states in which a child only listens, each for kIdleMs, as
    // the loop runs in the game: the name prompt, standing in the corridor
    // once the welcome has been skipped, and the same with the map shown.
    const double nameShare = idleShare(session, kIdleMs);
    std::printf("idle, waiting for the name: %.2f %% of one core\n", nameShare * 100);
    QTest::keyClick(session.window()->view(), Qt::Key_Return);
    session.runPass();
    QTest::keyClick(session.window()->view(), Qt::Key_Return);
    const double playShare = idleShare(session, kIdleMs);
    std::printf("idle, standing in the corridor: %.2f %% of one core\n", playShare * 100);
    QTest::keyClick(session.window()->view(), Qt::Key_E);
    const double shownShare = idleShare(session, kIdleMs);
    std::printf("idle, the map shown: %.2f %% of one core\n", shownShare * 100);

    auto drawnFrameMs = [&session](int frames) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < frames; ++i) {
            session.invalidateFrame();
            session.runPass();
        }
        return clock.nsecsElapsed() / 1e6 / frames;
    };
    std::printf("frame with the map view off, drawn and presented: %.2f ms\n", drawnFrameMs(300));

    if (!writeFullMap("lleno.quorvane") || !session.game()->loadMap("lleno.quorvane"))
        return 1;
    session.game()->options.showMap = true;
    int tiles = 0;
    for (const auto& row : session.game()->cells)
        for (const auto& cell : row)
            tiles += cell.kind > 0;
    const double frameMs = drawnFrameMs(300);
    std::printf("frame with the map view on (%d tiles), drawn and presented: %.2f ms\n", tiles, frameMs);

    // The drawing alone, the map view on, waited for to its last pixel.
    GameView* view = session.window()->view();
    QElapsedTimer drawing;
    drawing.start();
    constexpr int kDrawings = 300;
    for (int i = 0; i < kDrawings; ++i) {
        view->beginFrame();
        drawScene(*session.game(), view->textures(), view->mapCache(), false, session.input().playerName);
        drawStatusLine(*session.game(), view->textures(), session.input().playerName);
        glFinish();
    }
    std::printf("drawing alone with the map view on: %.2f ms\n", drawing.nsecsElapsed() / 1e6 / kDrawings);

    // Resident memory while the map is drawn at every frame: after a first
    // minute of settling, then after the rest of the run (60 s, or the
    // seconds given as the first argument).
    const int seconds = argc > 1 ? std::max(61, std::atoi(argv[1])) : 60;
    auto drawFor = [&](qint64 ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            session.invalidateFrame();
            session.runPass();
        }
    };
    const int settle = std::min(60, seconds / 2);
    drawFor(settle * 1000LL);
    const long settled = residentKb();
    drawFor((seconds - settle) * 1000LL);
    std::printf("resident memory drawing the map at every frame: %ld kB after %d s, %+ld kB after %d s more\n",
                settled, settle, residentKb() - settled, seconds - settle);
    return 0;
}
