#include "player.h"

void Player::followInfiniteBullets(bool on)
{
    if (on && infiniteArmed) {
        savedBullets = bullets;
        bullets = kInfiniteBullets;
        infiniteEngaged = true;
        infiniteArmed = false;
    }
    if (!on && infiniteEngaged) {
        bullets = savedBullets;
        infiniteEngaged = false;
        infiniteArmed = true;
    }
}

void Player::startLevel(bool infinite)
{
    infiniteArmed = true;
    threatAhead = doorAhead = false;
    lives = kLivesAtStart;
    savedBullets = 0;
    bullets = infinite ? kInfiniteBullets : 0;
}
