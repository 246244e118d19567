#include "teacher_settings.h"

namespace {
// Windows-1252, as every sentence of the log: 0xED is an accented i.
const char* yesNo(bool on) { return on ? "s\xED" : "no"; }
}

bool isShiftSecondsChoice(int seconds)
{
    for (int choice : kShiftSecondsChoices)
        if (choice == seconds)
            return true;
    return false;
}

std::string settingsLine(const TeacherSettings& settings, bool infiniteBullets, bool mapShown)
{
    std::string line = "Ajustes: voz ";
    line += settings.slowVoice ? "lenta" : "normal";
    line += ", criaturas cada " + std::to_string(settings.shiftSeconds) + " segundos, trampas ";
    line += yesNo(settings.traps);
    line += ", balas infinitas ";
    line += yesNo(infiniteBullets);
    line += ", mapa a la vista ";
    line += yesNo(mapShown);
    line += ".\n";
    return line;
}
