#include "catalogue.h"
#include "game_state.h"
#include "input_state.h"
#include "journal.h"
#include "key_handlers.h"
#include "play.h"
#include "scaled_time.h"
#include "session.h"
#include "shell_hooks.h"

namespace {

struct OptionToggle {
    int vk;
    bool PlayOptions::*field;
    const catalogue::Line* on;  // what is said and written as it turns on
    const catalogue::Line* off;
    int box;
    char letter;
};

const OptionToggle kToggles[] = {
    {'E', &PlayOptions::showMap, &catalogue::MostraMapaActivado, &catalogue::MostrarMapaDesactivado,
     OptionBox::ShowMap, 'E'},
    {'Q', &PlayOptions::musicOn, &catalogue::MusicaActivada, &catalogue::MusicaDesactivada, OptionBox::Music, 'Q'},
    {'R', &PlayOptions::mouseEnabled, &catalogue::MouseActivado, &catalogue::MouseDesactivado, OptionBox::Mouse,
     'R'},
    {'W', &PlayOptions::infiniteBullets, &catalogue::BalasIniActivadas, &catalogue::BalasIniDesactivadas,
     OptionBox::InfiniteBullets, 'W'},
};

void toggle(const OptionToggle& t, GameState& game, Journal& journal, ShellHooks& hooks)
{
    const bool on = !(game.options.*t.field);
    game.options.*t.field = on;
    const catalogue::Line& said = on ? *t.on : *t.off;
    game.addMessage(said.written);
    game.channels.SonidoFeedBackSeteo.playFile(said.file, 0, 0, kPlayOnce);
    // Steering follows its option at once; the other options act through
    // the parts that read them (map view, upkeep).
    if (t.field == &PlayOptions::mouseEnabled)
        game.options.mouseActive = on;
    hooks.setOptionBox(t.box, on);
    if (t.field == &PlayOptions::musicOn && !on) {
        game.channels.MusicaDeFondo.stopChannel();
        game.options.musicRestart = true;
    }
    recordAction(journal, t.letter, game.clock.now());
}

}  // namespace

void optionKey(int vk, Play& play)
{
    GameState& game = play.game;
    Session& session = play.session;
    ShellHooks& hooks = play.hooks;
    // Any key that reaches the gate and passes it uses it up, whether or not
    // it then does anything: at most one option change per second.
    if (!passGate(play.input.lastOptionKeyTime, scaledTime(session.clock.now()), kOptionKeyInterval))
        return;
    // Answers the player asked for, which any key cuts short; asked, not
    // acted, so not journalled.
    if (vk == 'F' || vk == 'D' || vk == 'O') {
        const StretchScope answer(&hooks.sounds(), Stretch::Answer);
        if (vk == 'F') {
            game.reportBullets(catalogue::TeQuedan.file);
            game.reportLives();
        } else if (vk == 'D') {
            game.describeSquare();
        } else {
            hooks.sounds().repeatLastSpeech();
        }
        return;
    }
    for (const OptionToggle& t : kToggles)
        if (t.vk == vk) {
            toggle(t, game, session.journal, hooks);
            return;
        }
}
