#include "game_state.h"

// An ending says its first words within a second and is over in about six:
// an effect sounds under the first words instead of before them, and the
// closing sentence says every way on at once. A key may cut the ending
// short (the shell decides which); the rules only mark its two parts, and
// every sentence is written before it is said.

namespace {
const char* const kPlayAgainSound = "Sonidos/ATT_VolverAJugar.wav";
const char* const kPlayAgain = "Presiona enter para volver a jugar.\n";
}  // namespace

void GameState::winLevel()
{
    MusicaDeFondo.stopChannel();
    {
        StretchScope body(SonidoBloqueando.system, Stretch::Ending);
        // Ganaste.wav is silent for as long as the alarm, then speaks.
        SonidosExtras.playFile("Sonidos/AlarmaFinal.wav", 0, 0, kPlayOnce);
        addMessage("Has Ganado.\n");
        SonidoBloqueando.playBlocking("Sonidos/Ganaste.wav");
    }
    MusicaFinal.playCurrent(0, 0, kPlayLooping);
    addMessage(kPlayAgain);
    // A won level may be followed by the next one, without a file dialog.
    addMessage("O presiona N para ir al siguiente nivel.\n");
    {
        StretchScope closing(SonidoBloqueando.system, Stretch::Closing);
        SonidoBloqueando.playBlocking("Sonidos/VolverOSiguiente.wav");
    }
    gameOver = true;
}

void GameState::loseLevel(const char* sentence, const char* message)
{
    SonidoMonstruos.stopChannel();
    {
        StretchScope body(SonidoBloqueando.system, Stretch::Ending);
        addMessage(message);
        SonidoBloqueando.playBlocking(sentence);
    }
    addMessage(kPlayAgain);
    {
        StretchScope closing(SonidoBloqueando.system, Stretch::Closing);
        SonidoBloqueando.playBlocking(kPlayAgainSound);
    }
    gameOver = true;
}

void GameState::loseForWantOfBullets()
{
    loseLevel("Sonidos/PerderPorBalas.wav", "Perdiste, se te acabaron las balas.\n");
}
