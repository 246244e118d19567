#include <string>

#include "game_state.h"
#include "input_state.h"
#include "key_handlers.h"
#include "player_help.h"

namespace {

// Each character typed is spoken back from its own recording; an accented
// vowel as its vowel. The name keeps the character in Windows-1252, as the
// report writes it.
void appendCharacter(GameState& game, InputState& input, char c, const char* spoken = nullptr)
{
    // A full name takes no more characters; silence tells the player so.
    if (input.playerNameLength < 0 || input.playerNameLength >= kMaxNameLength)
        return;
    input.playerName[input.playerNameLength] = c;
    const std::string sound = "SonidosLetras/" + (spoken ? std::string(spoken) : std::string(1, c)) + ".wav";
    game.SonidosExtras.playFile(sound.c_str(), 0, 0, kPlayOnce);
    ++input.playerNameLength;
}

struct SpanishLetter {
    int vk;
    char lower;  // Windows-1252
    const char* spoken;
};
constexpr SpanishLetter kSpanishLetters[] = {
    {Vk::AAcute, '\xE1', "a"}, {Vk::EAcute, '\xE9', "e"}, {Vk::IAcute, '\xED', "i"},
    {Vk::OAcute, '\xF3', "o"}, {Vk::UAcute, '\xFA', "u"}, {Vk::UDiaeresis, '\xFC', "u"},
    {Vk::NTilde, '\xF1', "enie"},
};

}  // namespace

void nameEntryKey(int vk, GameState& game, InputState& input)
{
    if (vk == Vk::Enter) {
        input.playerName[input.playerNameLength] = '\0';
        input.nameEntry = false;
        game.SonidosExtras.playFile("Sonidos/InicioJuego.wav", 0, 0, kPlayOnce);
        startWelcome(game, input);
    } else if (vk == Vk::Delete) {
        if (input.playerNameLength <= 0)
            return;
        --input.playerNameLength;
        game.SonidosExtras.playFile("SonidosLetras/borrar.wav", 0, 0, kPlayOnce);
        input.playerName[input.playerNameLength] = '\0';
    } else if (vk >= Vk::Digit0 && vk <= Vk::Digit9) {
        appendCharacter(game, input, static_cast<char>('0' + (vk - Vk::Digit0)));
    } else if (vk >= Vk::A && vk <= Vk::Z) {
        appendCharacter(game, input, static_cast<char>('a' + (vk - Vk::A)));
    } else {
        for (const SpanishLetter& letter : kSpanishLetters)
            if (vk == letter.vk)
                appendCharacter(game, input, letter.lower, letter.spoken);
    }
}
