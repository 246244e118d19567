#include "report.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "game_home.h"
#include "game_state.h"
#include "journal.h"
#include "report_writer.h"
#include "safe_file.h"

namespace {
const char* const kReportFolder = "bd";

// bd/ is made private whatever the umask; a link in its place is not
// followed, so a report never lands where the link points.
bool ensureReportFolder(const GameDir& home, std::string* error)
{
    const std::string folder = home.file(kReportFolder);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = std::string("No se pudo crear la carpeta de informes \"") + kReportFolder +
                     "\": " + describeFileError(errno) + ".";
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return true;
    if (error)
        *error = std::string("No se pudo escribir el informe: \"") + kReportFolder + "\" " +
                 (S_ISLNK(info.st_mode) ? "es un enlace simbólico, no una carpeta."
                                        : "no es una carpeta sino un archivo.");
    return false;
}

// Milliseconds between the first and the last action of the journal, in whole
// seconds; the difference wraps with the tick counter.
int32_t playingSeconds(const Journal& journal)
{
    if (journal.journalCount <= 0)
        return 0;
    const Tick first = journal.entries[0].tick;
    const Tick last = journal.entries[journal.journalCount - 1].tick;
    return static_cast<int32_t>(static_cast<Tick>(last - first) / 1000u);
}

ReportData dataOf(const GameState& game, const char* playerName, int32_t seconds)
{
    ReportData data;
    data.player = playerName;
    data.map = game.playedFrom.empty() ? game.mapName : game.playedFrom;
    int32_t* const c = data.counters;
    c[PlayingSeconds] = seconds;
    c[MissedShots] = game.stats.missedShots;
    c[MissedAtMonsters] = game.stats.missedAtMonsters;
    c[MissedAtMutants] = game.stats.missedAtMutants;
    c[MissedAtSuperMonsters] = game.stats.missedAtSuperMonsters;
    c[MissedInCorridor] = game.stats.missedInCorridor;
    c[WallBumps] = game.stats.wallBumps;
    c[StepsWithMonster] = game.stats.stepsWithMonster;
    c[DoorBumps] = game.stats.doorBumps;
    c[BulletGrabErrors] = game.stats.bulletGrabErrors;
    c[StepCount] = game.stats.stepCount;
    c[FinalBullets] = game.player.bullets;
    data.reachedEnd = game.stats.reachedEnd;
    return data;
}

void writeBody(std::FILE* out, const GameState& game, const char* playerName, int32_t seconds)
{
    writeReportGrid(out, game.initialCells);
    // The settings the level started with come first among its messages:
    // kept for the teacher, never said to the child.
    if (!game.levelSettingsLine.empty())
        writeReportSentence(out, game.settingsLineTick, game.levelSettingsLine.c_str());
    // Every sentence of the log carries its own line end.
    for (int i = 0; i < game.log.historyCount && i < kHistorySize; ++i)
        writeReportSentence(out, game.log.historyTicks[i], game.log.history[i] ? game.log.history[i] : "\n");
    writeReportData(out, dataOf(game, playerName, seconds));
    for (int i = 0; i < game.stats.stepCount && i < kPathSize; ++i)
        writeReportStep(out, game.stats.stepTicks[i], game.stats.stepRows[i], game.stats.stepCols[i]);
    writeReportEnd(out);
}

// A report never replaces another: one of the same second (a quick level,
// two games with one player's name) is kept beside it as "-2", "-3", ...
// committed is where it went; a path not absolute is in the game's folder.
bool writeReportFile(const std::string& path, const GameState& game, const std::string& name, int32_t seconds,
                     std::string* error, std::string* committed = nullptr)
{
    SafeFileWriter writer;
    if (!writer.open(game.folder, path, error, SafeFileWriter::Existing::KeepBoth))
        return false;
    writeBody(writer.stream(), game, name.c_str(), seconds);
    if (!writer.commit(error))
        return false;
    if (committed)
        *committed = writer.committedPath();
    return true;
}

// The report of a level cannot be played again: when bd/ cannot take it
// (a full disk, a read-only folder, bd a file), it goes to the first other
// folder that can, and the message names where. Only folders of the user's
// own: never the shared temporary folder, where another account could read
// it or plant a name in its way.
std::string rescueReport(const std::string& path, const GameState& game, const std::string& name, int32_t seconds)
{
    const std::string base = path.substr(path.find('/') + 1);
    std::vector<std::filesystem::path> folders;
    const std::filesystem::path user = userGameFolder();
    if (!user.empty())
        folders.push_back(user / kReportFolder);
    folders.emplace_back();  // the private fallback, made only when needed
    const std::string usual = game.folder.file(kReportFolder);
    for (std::filesystem::path folder : folders) {
        std::error_code ec;
        if (folder.empty())
            folder = privateFallbackFolder();
        else if (std::filesystem::equivalent(folder, usual, ec) || !makePrivateFolder(folder))
            continue;
        std::string there;
        if (!folder.empty() && writeReportFile((folder / base).string(), game, name, seconds, nullptr, &there))
            return " El informe se guardó en \"" + there + "\".";
    }
    return " Tampoco se pudo guardar en otra carpeta: el informe de este nivel se perdió.";
}
}

bool writeStatisticsReport(const GameState& game, const Journal& journal, const char* playerName,
                           std::string* error)
{
    if (game.stats.stepCount < 2)
        return false;
    // The name entry holds at most 99 characters; never read past that even
    // when a caller's buffer lacks its terminator.
    const std::string name = playerName ? std::string(playerName, ::strnlen(playerName, 99)) : "";
    const std::string path = reportFileName(name.c_str(), game.clock.calendar());
    const int32_t seconds = playingSeconds(journal);
    std::string why;
    if (ensureReportFolder(game.folder, &why) && writeReportFile(path, game, name, seconds, &why))
        return true;
    why += rescueReport(path, game, name, seconds);
    if (error)
        *error = why;
    return false;
}
