#include "journal.h"

void recordAction(Journal& journal, char key, Tick now)
{
    if (journal.journalCount >= kJournalSize)
        return;
    journal.entries[journal.journalCount++] = JournalEntry{key, now};
}

void clearJournal(Journal& journal) { journal.journalCount = 0; }
