#pragma once
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

// Every file the game reads is named by a player, a teacher or the game
// folder, and any of them may be something else under that name: a folder, a
// named pipe with no writer, a device that never ends. Opening such a thing
// the plain way would block the one thread for ever, so every reader opens
// through here: without blocking, and only regular files.

// Opens path read-only without blocking. A regular file gives its descriptor
// (>= 0, the caller closes it) and, with info, its stat; anything else gives
// -1 and, with reason, a short Spanish reason ("no existe", "es una carpeta,
// no un archivo", ...); errno then holds the system's error, or 0 when the
// name is there but is not a regular file.
int openRegularFile(const std::string& path, struct stat* info, std::string* reason);

// Reads a whole regular file of at most maxBytes. False with a Spanish reason
// otherwise. A file that shrinks while being read is taken as it then is.
bool readRegularFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                     std::string* reason);

// A short Spanish description of a system error number, for messages a
// player or his teacher reads.
std::string describeFileError(int errnum);

// What stands under a name that is not a regular file, in Spanish: "es una
// carpeta, no un archivo", "es una tubería (FIFO), no un archivo", ...
std::string describeNotRegular(mode_t mode);
