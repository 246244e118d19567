#include <cstdio>

#include "game_state.h"
#include "input_state.h"
#include "key_handlers.h"
#include "player_help.h"

namespace {

// Each character typed is spoken back from its own recording.
void appendCharacter(GameState& game, char c)
{
    // A full name takes no more characters; silence tells the player so.
    if (input.playerNameLength < 0 || input.playerNameLength >= kMaxNameLength)
        return;
    input.playerName[input.playerNameLength] = c;
    char sound[32];
    std::snprintf(sound, sizeof sound, "SonidosLetras/%c.wav", c);
    game.SonidosExtras.playFile(sound, 0, 0, kPlayOnce);
    ++input.playerNameLength;
}

}  // namespace

void nameEntryKey(int vk, GameState& game)
{
    if (vk == Vk::Enter) {
        input.playerName[input.playerNameLength] = '\0';
        input.nameEntry = false;
        game.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
        startWelcome(game);
    } else if (vk == Vk::Delete) {
        if (input.playerNameLength <= 0)
            return;
        --input.playerNameLength;
        game.SonidosExtras.playFile("SonidosLetras/borrar.wav", 0, 0, kPlayOnce);
        input.playerName[input.playerNameLength] = '\0';
    } else if (vk >= Vk::Digit0 && vk <= Vk::Digit9) {
        appendCharacter(game, static_cast<char>('0' + (vk - Vk::Digit0)));
    } else if (vk >= Vk::A && vk <= Vk::Z) {
        appendCharacter(game, static_cast<char>('a' + (vk - Vk::A)));
    }
}
