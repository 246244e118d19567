#include <cstdio>

#include "game_session.h"
#include "game_state.h"
#include "game_view.h"
#include "key_input.h"
#include "main_window.h"
#include "openal_sound.h"
#include "qt_shell_hooks.h"
#include "settings_file.h"
#include "sound_check.h"
#include "voice_arbiter.h"

bool GameSession::start()
{
    if (!openMainWindow(QStringLiteral("Quorvane"), 800, 480, 16))
        return false;

    resetJournalAndReplay(session_);
    wire();

    // The teacher's settings of this game folder, in force from the first level.
    game_->settings = readSettingsFile(kSettingsFile, folder_);
    game_->firstInit(firstMap_.empty() ? game_->mapName : firstMap_, *sounds_);
    if (!game_->lastLoadError.empty())
        hooks_->showError(game_->lastLoadError);
    tellSoundProblems();
    game_->channels.SonidoEscribeTuNombre.playCurrent(0, 0, kPlayOnce);
    pacer_.frameStarted();
    return true;
}

void GameSession::wire()
{
    game_ = std::make_unique<GameState>(session_.clock);
    game_->folder = folder_;
    device_ = std::make_unique<OpenAlSound>(folder_);
    device_->setWhileBlocking([this] { return keepAlive(); });
    sounds_ = std::make_unique<VoiceArbiter>(*device_, SpeechTable::load(folder_.file(kSpeechTableFile)),
                                             [this](double ms) { waitAlive(ms); }, session_.clock);
    hooks_ = std::make_unique<QtShellHooks>(*window_, *game_, input_, session_, *sounds_);
    window_->view()->setPlay(&hooks_->play());
    window_->setMenuHandler([this](int id) { menuCommand(id, hooks_->play()); });
    window_->setCloseHandler([this] { hooks_->quit(); });
}

namespace {

void tellTeacher(QWidget* window, const std::string& text)
{
    showMessageBox(window, QStringLiteral("Quorvane"), QString::fromStdString(text), false);
}

}  // namespace

void GameSession::tellSoundProblems()
{
    // A game played by ear that cannot be heard must say so where the player
    // or his teacher will see it, not only on a terminal; it goes on silent.
    if (!device_->hasDevice())
        tellTeacher(window_, "No hay sonido: " + device_->noDeviceReason() +
                                 ". El juego sigue en silencio; lo que dice la voz se escribe en la pantalla.");
    // Without its table of where each file speaks the game cannot keep one
    // voice at a time as well: the teacher is told which file is at fault.
    if (const std::string problem = sounds_->table().problem(kSpeechTableFile); !problem.empty()) {
        const std::string text = problem + " El juego sigue, sin saber dónde habla cada sonido.";
        std::fprintf(stderr, "quorvane: %s\n", text.c_str());
        tellTeacher(window_, text);
    }
    // Sound settings the game refused (and replaced with its own) are told
    // where the teacher will see them.
    if (!device_->settingsNotice().empty())
        tellTeacher(window_, device_->settingsNotice());
    // A missing or broken sound would leave a silent hole in a game played
    // by ear: every file is checked once, and the teacher told which.
    const std::vector<std::string> unplayable = unplayableSoundFiles(
        gameSoundFiles(sounds_->table()), [this](const std::string& file) { return device_->preload(file); });
    if (!unplayable.empty()) {
        std::fprintf(stderr, "quorvane: %s\n", unplayableSoundsMessage(unplayable, unplayable.size()).c_str());
        tellTeacher(window_, unplayableSoundsMessage(unplayable, 12));
    }
}
