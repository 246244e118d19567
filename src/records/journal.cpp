#include "journal.h"

Journal journal;

void recordAction(char key)
{
    if (journal.journalCount >= kJournalSize)
        return;
    journal.entries[journal.journalCount++] = JournalEntry{key, currentTick()};
}

void clearJournal() { journal.journalCount = 0; }
