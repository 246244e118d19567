#include "report_outcome.h"

#include <cstring>

#include "game_text.h"

namespace {
// The sentences with which the game ends a level, byte for byte as it writes
// them into its log (Windows-1252, with the line end), and the ending each
// tells. The one place where the reports' outcomes meet the game's texts.
struct Ending {
    const char* written;
    Outcome outcome;
};
const Ending kEndings[] = {
    {"Has Ganado.\n", Outcome::Won},
    {"Has sido atrapado.\n", Outcome::Trap},
    {"No tienes vidas, perdiste.\n", Outcome::Lives},
    {"Perdiste, se te acabaron las balas.\n", Outcome::Bullets},
};

// Whether a sentence as the reader gives it (UTF-8, no line end) is the one
// the game wrote.
bool isWritten(const std::string& sentence, const char* written)
{
    const std::string_view text(written, std::strlen(written) - 1);
    return sentence == utf8FromGameText(text);
}
}

Outcome endingSaid(const std::string& sentence)
{
    for (const Ending& ending : kEndings)
        if (isWritten(sentence, ending.written))
            return ending.outcome;
    return Outcome::NotFinished;
}

Outcome levelOutcome(const Report& report)
{
    Outcome outcome = Outcome::NotFinished;
    for (const ReportSentence& s : report.sentences)
        if (const Outcome said = endingSaid(s.text); said != Outcome::NotFinished)
            outcome = said;
    if (outcome == Outcome::NotFinished && report.reachedEnd && !report.path.empty()) {
        const ReportStep& last = report.path.back();
        outcome = report.kinds[last.row][last.col] == CellKind::Trap ? Outcome::Trap : Outcome::Won;
    }
    return outcome;
}
