#include "catalogue.h"
#include "game_state.h"

// An ending says its first words within a second and is over in about six:
// an effect sounds under the first words instead of before them, and the
// closing sentence says every way on at once. A key may cut the ending
// short (the shell decides which); the rules only mark its two parts, and
// every sentence is written before it is said.

void GameState::winLevel()
{
    channels.MusicaDeFondo.stopChannel();
    {
        StretchScope body(channels.SonidoBloqueando.system, Stretch::Ending);
        // Ganaste.wav is silent for as long as the alarm, then speaks.
        channels.SonidosExtras.playFile(catalogue::AlarmaFinal.file, 0, 0, kPlayOnce);
        addMessage(catalogue::Ganaste.written);
        channels.SonidoBloqueando.playBlocking(catalogue::Ganaste.file);
    }
    channels.MusicaFinal.playCurrent(0, 0, kPlayLooping);
    addMessage(catalogue::ATT_VolverAJugar.written);
    // A won level may be followed by the next one, without a file dialog.
    addMessage(catalogue::SiguienteNivel.written);
    {
        StretchScope closing(channels.SonidoBloqueando.system, Stretch::Closing);
        channels.SonidoBloqueando.playBlocking(catalogue::VolverOSiguiente.file);
    }
    gameOver = true;
}

void GameState::loseLevel(const catalogue::Line& ending)
{
    channels.SonidoMonstruos.stopChannel();
    {
        StretchScope body(channels.SonidoBloqueando.system, Stretch::Ending);
        addMessage(ending.written);
        channels.SonidoBloqueando.playBlocking(ending.file);
    }
    addMessage(catalogue::ATT_VolverAJugar.written);
    {
        StretchScope closing(channels.SonidoBloqueando.system, Stretch::Closing);
        channels.SonidoBloqueando.playBlocking(catalogue::ATT_VolverAJugar.file);
    }
    gameOver = true;
}

void GameState::loseForWantOfBullets()
{
    loseLevel(catalogue::PerderPorBalas);
}
