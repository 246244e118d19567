#include "session.h"

void resetJournalAndReplay(Session& session)
{
    clearJournal(session.journal);
    stopReplay(session.replay);
}
