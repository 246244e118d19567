#pragma once
#include <string>

// What a teacher sets for the children who play in one game folder. A level
// plays with the settings in force when it started: a change made during a
// level waits for the next one, so nothing shifts under the child's feet.
struct TeacherSettings {
    bool slowVoice = false;
    // Seconds of play between two moves of a mutant or a super monster: one
    // of kShiftSecondsChoices.
    int shiftSeconds = 3;
    // Off: a square that may hold a trap is always an exit.
    bool traps = true;

    bool operator==(const TeacherSettings&) const = default;
};

inline constexpr int kShiftSecondsChoices[] = {3, 5, 8};

bool isShiftSecondsChoice(int seconds);

// The line a level's report keeps of the settings and of the options it
// started with, in Windows-1252 and ending in "\n":
// "Ajustes: voz normal, criaturas cada 3 segundos, trampas s\xED, balas
// infinitas no, mapa a la vista no.\n"
std::string settingsLine(const TeacherSettings& settings, bool infiniteBullets, bool mapShown);
