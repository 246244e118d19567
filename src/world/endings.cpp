#include "catalogue.h"
#include "game_state.h"

// An ending says its first words within a second and is over in about six:
// an effect sounds under the first words instead of before them, and the
// closing sentence says every way on at once. A key may cut the ending
// short (the shell decides which); the rules only mark its two parts, and
// every sentence is written before it is said.

void GameState::winLevel()
{
    MusicaDeFondo.stopChannel();
    {
        StretchScope body(SonidoBloqueando.system, Stretch::Ending);
        // Ganaste.wav is silent for as long as the alarm, then speaks.
        SonidosExtras.playFile(catalogue::AlarmaFinal.file, 0, 0, kPlayOnce);
        addMessage(catalogue::Ganaste.written);
        SonidoBloqueando.playBlocking(catalogue::Ganaste.file);
    }
    MusicaFinal.playCurrent(0, 0, kPlayLooping);
    addMessage(catalogue::ATT_VolverAJugar.written);
    // A won level may be followed by the next one, without a file dialog.
    addMessage(catalogue::SiguienteNivel.written);
    {
        StretchScope closing(SonidoBloqueando.system, Stretch::Closing);
        SonidoBloqueando.playBlocking(catalogue::VolverOSiguiente.file);
    }
    gameOver = true;
}

void GameState::loseLevel(const catalogue::Line& ending)
{
    SonidoMonstruos.stopChannel();
    {
        StretchScope body(SonidoBloqueando.system, Stretch::Ending);
        addMessage(ending.written);
        SonidoBloqueando.playBlocking(ending.file);
    }
    addMessage(catalogue::ATT_VolverAJugar.written);
    {
        StretchScope closing(SonidoBloqueando.system, Stretch::Closing);
        SonidoBloqueando.playBlocking(catalogue::ATT_VolverAJugar.file);
    }
    gameOver = true;
}

void GameState::loseForWantOfBullets()
{
    loseLevel(catalogue::PerderPorBalas);
}
