#pragma once
#include <cstdio>
#include <string>

#include "game_dir.h"
#include "regular_file.h"

// A file written beside its final name and put in place only once every byte
// is on disk, so a failed write never destroys the file it would replace.
// Nothing is written to the final name until commit(); an uncommitted writer
// removes its temporary file when it goes away.
//
// The children's files are private: a new file is made 0600 whatever the
// umask; a file replaced keeps its mode. No write goes through a symbolic
// link: the folder is opened without following a link in its last part,
// the temporary file is made afresh (O_EXCL) and the final name is put in
// place by rename, which replaces a link there instead of writing through it.
class SafeFileWriter {
public:
    // What commit() does when a file of the final name is there already.
    enum class Existing {
        Replace,       // put the new file in its place (a saved game)
        KeepBoth,      // name the new one "name-2.ext", "-3", ... (a report)
        KeepExisting,  // keep the old one, drop the new (a copied map)
    };

    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file; false with error set when it cannot. A
    // temporary file of the same final name left by a save that was killed
    // is removed first.
    bool open(const std::string& path, std::string* error, Existing existing = Existing::Replace);
    // The same for a file named in a game folder: made there, while the
    // messages and committedPath() say the name as the game knows it.
    bool open(const GameDir& folder, const std::string& name, std::string* error,
              Existing existing = Existing::Replace);
    std::FILE* stream() const { return file_; }
    // Flushes and puts the file under its name; false with error set when
    // any write failed or the rename did, the old file then left as it was.
    // The choice of a free name is atomic across processes: two games that
    // write the same name at once both keep their file.
    bool commit(std::string* error);
    // The path the file was put under: the one opened, or with KeepBoth its
    // "-2", "-3", ... form. Empty before a successful commit, and when
    // KeepExisting found a file there.
    const std::string& committedPath() const { return committed_; }

private:
    bool openAs(const std::string& path, const std::string& shown, std::string* error, Existing existing);
    void discard();
    int placeFile(const std::string& name);
    // Puts the written file under its name as existing_ says; the name it
    // took in placed (empty when none), and 0 or the system's error.
    int placeCommitted(std::string& placed);
    std::string path_;
    std::string folder_;
    std::string name_;
    std::string tempName_;
    std::string committed_;
    std::FILE* file_ = nullptr;
    int dirFd_ = -1;
    Existing existing_ = Existing::Replace;
    bool replacing_ = false;  // a file of that name was there to keep
};

// The temporary name prefix of path: "dir/.name.guardando-", hidden, so
// that neither the file choosers nor the report reader take it for a file of
// the game's own.
std::string safeFileTempPrefix(const std::string& path);

// A fresh temporary name for path: its prefix and six random characters.
std::string safeFileTempName(const std::string& path);

// Removes from folder every temporary file a writer of the game left when it
// was killed: hidden names carrying the ".guardando-" mark whose lock no
// live writer holds. Called at start on the game folder and bd/.
void removeLeftoverTemporaries(const std::string& folder);

// A folder only this user can enter, for files that cannot go where they
// should: $XDG_RUNTIME_DIR/quorvane when that is a folder of his own, else
// a fresh one made by mkdtemp in the temporary folder; mode 0700. Empty when
// neither can be had.
std::string privateFallbackFolder();

// A file-size limit (ulimit -f) kills a process that writes past it unless
// SIGXFSZ is ignored; ignored, the write fails with EFBIG and the game says
// so. Call once at start.
void ignoreFileSizeSignal();
