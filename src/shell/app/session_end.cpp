#include "game_session.h"

#include "game_state.h"
#include "key_handlers.h"
#include "qt_shell_hooks.h"

void GameSession::end()
{
    done_ = true;
    // However the program ends, a level the player has played (two steps or
    // more) keeps its report, as Enter would have written it.
    if (!input_.nameEntry && !session_.replay.replaying && game_->stats.stepCount >= 2)
        reportLevel(hooks_->play());
}
