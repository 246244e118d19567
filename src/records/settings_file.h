#pragma once
#include <string>

#include "game_dir.h"
#include "teacher_settings.h"

// The teacher's settings of a game folder, kept in a small text file a
// teacher can read and even edit by hand:
//
//   # Ajustes del maestro
//   voz = normal          (normal, lenta)
//   criaturas = 3         (3, 5, 8: segundos)
//   trampas = si          (si, no)
//
// Reading never fails: a missing or unreadable file gives the defaults, and a
// line that cannot be understood leaves its setting at the default.
inline constexpr const char* kSettingsFile = "ajustes.txt";

// name is in folder (as it is without one), and the messages say it so.
TeacherSettings readSettingsFile(const std::string& name, const GameDir& folder = {});
TeacherSettings parseSettingsText(const std::string& text);

// Written beside the file and put in place whole, so a failed write leaves the
// old settings as they were. False with a Spanish reason.
bool writeSettingsFile(const std::string& name, const TeacherSettings& settings, std::string* error,
                       const GameDir& folder = {});
