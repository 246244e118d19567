#include "safe_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char* kTempMark = ".guardando-";
constexpr size_t kRandomPart = 6;  // the XXXXXX of mkstemp

// The mode a plainly created file would get: the old file's mode when one is
// replaced, otherwise what the process's umask allows.
mode_t modeFor(const struct stat* old)
{
    if (old)
        return old->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

std::pair<std::string, std::string> splitPath(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// A save killed between mkstemp and rename leaves its temporary file. Every
// writer holds a lock on its own temporary file while it writes, so one whose
// lock can be taken has no writer any more and goes; one still locked belongs
// to a save under way (another copy of the game) and stays.
void removeStaleTemporaries(const std::string& path)
{
    const auto [folder, name] = splitPath(path);
    const std::string prefix = "." + name + kTempMark;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate.size() != prefix.size() + kRandomPart || candidate.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string full = folder + "/" + candidate;
        const int fd = ::open(full.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(full.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}
}  // namespace

std::string safeFileTempPrefix(const std::string& path)
{
    const auto [folder, name] = splitPath(path);
    const std::string dir = path.find('/') == std::string::npos ? "" : folder + "/";
    return dir + "." + name + kTempMark;
}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open(const std::string& path, std::string* error)
{
    discard();
    path_ = path;
    struct stat old {};
    const bool there = ::stat(path.c_str(), &old) == 0;
    replacing_ = there && S_ISREG(old.st_mode);
    if (there && S_ISDIR(old.st_mode)) {
        setError(error, "No se pudo escribir \"" + path + "\": " + describeNotRegular(old.st_mode) + ".");
        return false;
    }
    removeStaleTemporaries(path);

    std::string pattern = safeFileTempPrefix(path) + std::string(kRandomPart, 'X');
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        setError(error, "No se pudo crear \"" + path + "\": " + describeFileError(errno) + ".");
        return false;
    }
    tempPath_ = pattern;
    // Held until the file is closed: a later save sees it is still written.
    ::flock(fd, LOCK_EX | LOCK_NB);
    ::fchmod(fd, modeFor(replacing_ ? &old : nullptr));
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        discard();
        setError(error, "No se pudo crear \"" + path + "\": " + describeFileError(err) + ".");
        return false;
    }
    return true;
}

bool SafeFileWriter::commit(std::string* error)
{
    if (!file_) {
        setError(error, "No se pudo escribir \"" + path_ + "\".");
        return false;
    }
    int err = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_))
        err = errno ? errno : EIO;
    if (err == 0 && ::fsync(::fileno(file_)) != 0)
        err = errno;
    // Renamed while still open, so the lock is held until the file has its
    // name and no other save can take it for a leftover. Every byte is on
    // disk by then, so closing cannot lose any.
    if (err == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        err = errno;
    if (err == 0)
        tempPath_.clear();
    std::fclose(file_);
    file_ = nullptr;
    if (err != 0) {
        discard();
        setError(error, "No se pudo escribir \"" + path_ + "\": " + describeFileError(err) + "." +
                            (replacing_ ? " El archivo anterior no se ha tocado." : ""));
        return false;
    }
    return true;
}

void SafeFileWriter::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}
