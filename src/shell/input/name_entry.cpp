#include <iterator>

#include "catalogue.h"
#include "game_state.h"
#include "input_state.h"
#include "key_handlers.h"
#include "player_help.h"

namespace {

// Each character typed is spoken back from its own recording; an accented
// vowel as its vowel. The name keeps the character in Windows-1252, as the
// report writes it.
void appendCharacter(GameState& game, InputState& input, char c, const catalogue::Line& spoken)
{
    // A full name takes no more characters; silence tells the player so.
    if (input.playerNameLength < 0 || input.playerNameLength >= kMaxNameLength)
        return;
    input.playerName[input.playerNameLength] = c;
    game.channels.SonidosExtras.playFile(spoken.file, 0, 0, kPlayOnce);
    ++input.playerNameLength;
}

struct SpanishLetter {
    int vk;
    char lower;  // Windows-1252
    const catalogue::Line& spoken;
};
static_assert(std::size(catalogue::kLetters) == 26 && std::size(catalogue::kDigits) == 10,
              "a recording for every letter and digit a name can hold");
constexpr const catalogue::Line& spokenLetter(char c) { return catalogue::kLetters[c - 'a']; }
constexpr SpanishLetter kSpanishLetters[] = {
    {Vk::AAcute, '\xE1', spokenLetter('a')}, {Vk::EAcute, '\xE9', spokenLetter('e')},
    {Vk::IAcute, '\xED', spokenLetter('i')}, {Vk::OAcute, '\xF3', spokenLetter('o')},
    {Vk::UAcute, '\xFA', spokenLetter('u')}, {Vk::UDiaeresis, '\xFC', spokenLetter('u')},
    {Vk::NTilde, '\xF1', catalogue::LetrasEnie},
};

}  // namespace

void nameEntryKey(int vk, GameState& game, InputState& input)
{
    if (vk == Vk::Enter) {
        input.playerName[input.playerNameLength] = '\0';
        input.nameEntry = false;
        game.channels.SonidosExtras.playFile(catalogue::InicioJuego.file, 0, 0, kPlayOnce);
        startWelcome(game, input);
    } else if (vk == Vk::Delete) {
        if (input.playerNameLength <= 0)
            return;
        --input.playerNameLength;
        game.channels.SonidosExtras.playFile(catalogue::LetrasBorrar.file, 0, 0, kPlayOnce);
        input.playerName[input.playerNameLength] = '\0';
    } else if (vk >= Vk::Digit0 && vk <= Vk::Digit9) {
        appendCharacter(game, input, static_cast<char>('0' + (vk - Vk::Digit0)), catalogue::kDigits[vk - Vk::Digit0]);
    } else if (vk >= Vk::A && vk <= Vk::Z) {
        appendCharacter(game, input, static_cast<char>('a' + (vk - Vk::A)), catalogue::kLetters[vk - Vk::A]);
    } else {
        for (const SpanishLetter& letter : kSpanishLetters)
            if (vk == letter.vk)
                appendCharacter(game, input, letter.lower, letter.spoken);
    }
}
