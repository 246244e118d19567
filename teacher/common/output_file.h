#pragma once
#include <string>
#include <string_view>

// Writes a file the teacher asked for (a table, a page, a drawing) whole or
// not at all. A name that stands for something other than a regular file (a
// pipe, a device, a folder, a symbolic link) is refused rather than written
// to: opening a pipe for writing waits for a reader for ever, and a link may
// lead out of the folder the teacher chose. False with a Spanish error that
// names the file and the reason.
bool writeOutputFile(const std::string& path, std::string_view text, std::string& error);

// Why path may not be written, or empty when it may: nothing is there yet,
// or a regular file is. A thing put there after this look is replaced by
// the writer's rename, never written through.
std::string outputRefusal(const std::string& path);
