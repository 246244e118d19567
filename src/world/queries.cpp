#include <iterator>

#include "announcements.h"
#include "catalogue.h"
#include "game_state.h"

void GameState::reportLives()
{
    // A level is over before the lives reach 0, and no rule gives more than 6.
    if (player.lives >= 1 && player.lives <= static_cast<int32_t>(std::size(catalogue::kLivesLeft)))
        channels.SonidoBloqueando.playBlocking(catalogue::kLivesLeft[player.lives - 1].file);
}

void GameState::describeSquare()
{
    // The square as the player has left it: a door opened, bullets taken or
    // a creature killed count as nothing.
    const Announcement a = announcementFor(player.currentCell.kind);
    if (a.sound) {
        channels.SonidoBloqueando.playBlocking(a.sound);
        addMessage(a.message);
    } else {
        channels.SonidoBloqueando.playBlocking(catalogue::Nada.file);
        addMessage(catalogue::Nada.written);
    }
    reportBullets(catalogue::TeQuedan.file);
    reportLives();
}
