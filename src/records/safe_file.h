#pragma once
#include <cstdio>
#include <string>

#include "regular_file.h"

// A file written beside its final name and put in place only once every byte
// is on disk, so a failed write never destroys the file it would replace.
// Nothing is written to the final name until commit(); an uncommitted writer
// removes its temporary file when it goes away. The file put in place keeps
// the mode of the one it replaces; a new one gets 0666 less the umask, as a
// plainly created file would.
class SafeFileWriter {
public:
    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file; false with error set when it cannot. A
    // temporary file of the same final name left by a save that was killed
    // is removed first.
    bool open(const std::string& path, std::string* error);
    std::FILE* stream() const { return file_; }
    // Flushes, closes and renames over path; false with error set when any
    // write failed or the rename did, the old file then left as it was.
    bool commit(std::string* error);

private:
    void discard();
    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool replacing_ = false;  // a file of that name was there to keep
};

// The temporary name prefix of path: "dir/.name.guardando-", hidden, so
// that neither the file choosers nor the report reader take it for a file of
// the game's own.
std::string safeFileTempPrefix(const std::string& path);
