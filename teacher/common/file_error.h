#pragma once
#include <string>
#include <system_error>

// Why a file or folder could not be opened, read or written, in Spanish for
// the teacher: the system's own messages are English ("Permission denied").
// Errors of the system (as std::filesystem gives them) take the same words as
// the game's file layer.
std::string describeError(const std::error_code& error);
