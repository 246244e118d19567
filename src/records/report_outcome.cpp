#include "report_outcome.h"

#include "catalogue.h"

namespace {
// The sentences with which the game ends a level, and the ending each tells:
// the one place where the reports' outcomes meet the game's texts. A report
// is read as UTF-8 without line ends, hence the catalogue's shown form.
struct Ending {
    const catalogue::Line& line;
    Outcome outcome;
};
const Ending kEndings[] = {
    {catalogue::Ganaste, Outcome::Won},
    {catalogue::Trampa, Outcome::Trap},
    {catalogue::PerdistePorMonstruoGigante, Outcome::Lives},
    {catalogue::PerderPorBalas, Outcome::Bullets},
};
}

Outcome endingSaid(const std::string& sentence)
{
    for (const Ending& ending : kEndings)
        if (sentence == ending.line.shown)
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
