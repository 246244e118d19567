#include "announcements.h"
#include "game_state.h"

void GameState::reportLives()
{
    static const char* const kLives[] = {
        "Sonidos/Vidas1.wav", "Sonidos/Vidas2.wav", "Sonidos/Vidas3.wav",
        "Sonidos/Vidas4.wav", "Sonidos/Vidas5.wav", "Sonidos/Vidas6.wav",
    };
    // A level is over before the lives reach 0, and no rule gives more than 6.
    if (lives >= 1 && lives <= 6)
        SonidoBloqueando.playBlocking(kLives[lives - 1]);
}

void GameState::describeSquare()
{
    // The square as the player has left it: a door opened, bullets taken or
    // a creature killed count as nothing.
    const Announcement a = announcementFor(currentCell.kind);
    if (a.sound) {
        SonidoBloqueando.playBlocking(a.sound);
        addMessage(a.message);
    } else {
        SonidoBloqueando.playBlocking("Sonidos/Nada.wav");
        addMessage("No hay nada a los lados.\n");
    }
    reportBullets("Sonidos/TeQuedan.wav");
    reportLives();
}
