#include "safe_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {
constexpr const char* kTempMark = ".guardando-";
constexpr size_t kRandomPart = 6;  // as the XXXXXX of mkstemp
constexpr int kMostCopies = 100000000;  // "name-2" up to eight digits

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

// Six letters drawn afresh for every name from the kernel, so that no
// generator is kept between calls (two writers on two threads share
// nothing). When the kernel gives nothing, the process, the moment and a
// position on this stack still make a name a clash is unlikely for; O_EXCL
// and the retries of makeTemporary settle any clash.
std::string randomPart()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[kRandomPart] = {};
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        uint64_t mixed = static_cast<uint64_t>(::getpid()) * 0x9E3779B97F4A7C15u ^
                         static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         reinterpret_cast<uintptr_t>(&bytes);
        for (unsigned char& byte : bytes) {
            mixed = mixed * 6364136223846793005u + 1442695040888963407u;
            byte = static_cast<unsigned char>(mixed >> 56);
        }
    }
    std::string part(kRandomPart, 'A');
    for (size_t i = 0; i < kRandomPart; ++i)
        part[i] = kLetters[bytes[i] % (sizeof kLetters - 1)];
    return part;
}

// The folder a file goes in, opened without following a link in its last
// part: a link planted in place of bd/ is refused, not written through.
int openFolder(const std::string& folder, std::string* reason)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    const int err = errno;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        *reason = "\"" + folder + "\" es un enlace simbólico, no una carpeta";
    else if (err == ENOTDIR && ::lstat(folder.c_str(), &info) == 0)
        *reason = "\"" + folder + "\" " + describeNotRegular(info.st_mode);
    else
        *reason = "\"" + folder + "\": " + describeFileError(err);
    return -1;
}

// "ana_fecha.db1" -> "ana_fecha-2.db1"; the extension stays last so that
// the file is still taken for what it is.
size_t extensionAt(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

std::string numberedName(const std::string& name, int number)
{
    const size_t cut = extensionAt(name);
    return name.substr(0, cut) + "-" + std::to_string(number) + name.substr(cut);
}

// The number after the highest "stem-N.ext" in the folder (at least 2), so
// the numbers keep the order the reports were written in; a file made by
// another process meanwhile is met by the atomic placing, which moves on.
int nextNumber(int dirFd, const std::string& name)
{
    const size_t cut = extensionAt(name);
    const std::string stem = name.substr(0, cut) + "-";
    const std::string ext = name.substr(cut);
    int highest = 1;
    const int listFd = ::dup(dirFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return 2;
    }
    ::rewinddir(dir);  // the copy shares its position with dirFd
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate.size() <= stem.size() + ext.size() || candidate.size() > stem.size() + ext.size() + 8 ||
            candidate.compare(0, stem.size(), stem) != 0 ||
            candidate.compare(candidate.size() - ext.size(), ext.size(), ext) != 0)
            continue;
        const std::string digits = candidate.substr(stem.size(), candidate.size() - stem.size() - ext.size());
        if (digits.find_first_not_of("0123456789") == std::string::npos && digits[0] != '0')
            highest = std::max(highest, std::stoi(digits));
    }
    ::closedir(dir);
    return highest + 1;
}

bool isTemporaryName(const std::string& name, const std::string& prefix)
{
    const size_t tail = std::strlen(kTempMark) + kRandomPart;
    if (name.size() < prefix.size() + kRandomPart || name.size() <= tail || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const size_t mark = name.size() - tail;
    return name.compare(mark, std::strlen(kTempMark), kTempMark) == 0;
}

// A writer killed between creating its temporary file and renaming it leaves
// the file. Every writer holds a lock on its own temporary file while it
// writes, so one whose lock can be taken has no writer any more and goes; one
// still locked belongs to a save under way (another copy of the game) and
// stays. A link left by a link maker killed halfway goes too.
void removeStale(int dirFd, const std::string& prefix)
{
    const int listFd = ::dup(dirFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return;
    }
    ::rewinddir(dir);  // the copy shares its position with dirFd
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (!isTemporaryName(candidate, prefix))
            continue;
        const int fd = ::openat(dirFd, candidate.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        struct stat info {};
        if (fd < 0) {
            if (errno == ELOOP && ::fstatat(dirFd, candidate.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(info.st_mode))
                ::unlinkat(dirFd, candidate.c_str(), 0);
            continue;
        }
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, candidate.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// A temporary file of our own, locked. A cleaner that took the lock before
// us has unlinked the file or is about to: that one is let go and another
// made.
int makeTemporary(int dirFd, const std::string& prefix, std::string& made)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + randomPart();
        const int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        struct stat info {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            made = name;
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// The temporary file beside name, stale ones of earlier runs removed first.
// The lock is held until the file is closed: a cleaner sees it is still
// written. Null, with the cause in err, when it cannot be made.
FILE* openTemporary(int dirFd, const std::string& name, mode_t mode, std::string& made, int& err)
{
    const std::string prefix = "." + name + kTempMark;
    removeStale(dirFd, prefix);
    const int fd = makeTemporary(dirFd, prefix, made);
    FILE* file = nullptr;
    if (fd >= 0) {
        ::fchmod(fd, mode);
        file = ::fdopen(fd, "wb");
    }
    if (!file) {
        err = errno;
        if (fd >= 0)
            ::close(fd);
    }
    return file;
}
}  // namespace

std::string safeFileTempPrefix(const std::string& path)
{
    const auto [folder, name] = splitPath(path);
    const std::string dir = path.find('/') == std::string::npos ? "" : folder + "/";
    return dir + "." + name + kTempMark;
}

std::string safeFileTempName(const std::string& path) { return safeFileTempPrefix(path) + randomPart(); }

void removeLeftoverTemporaries(const std::string& folder)
{
    std::string reason;
    const int dirFd = openFolder(folder, &reason);
    if (dirFd < 0)
        return;
    removeStale(dirFd, ".");
    ::close(dirFd);
}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open(const std::string& path, std::string* error, Existing existing)
{
    return openAs(path, path, error, existing);
}

bool SafeFileWriter::open(const GameDir& folder, const std::string& name, std::string* error, Existing existing)
{
    return openAs(folder.file(name), name, error, existing);
}

bool SafeFileWriter::openAs(const std::string& path, const std::string& shown, std::string* error,
                            Existing existing)
{
    discard();
    path_ = shown;
    existing_ = existing;
    committed_.clear();
    std::tie(folder_, name_) = splitPath(path);
    std::string reason;
    dirFd_ = openFolder(folder_, &reason);
    if (dirFd_ < 0) {
        setError(error, "No se pudo crear \"" + shown + "\": " + reason + ".");
        return false;
    }
    struct stat old {};
    const bool there = ::fstatat(dirFd_, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    replacing_ = there && S_ISREG(old.st_mode);
    if (there && S_ISDIR(old.st_mode) && existing == Existing::Replace) {
        setError(error, "No se pudo escribir \"" + shown + "\": " + describeNotRegular(old.st_mode) + ".");
        discard();
        return false;
    }
    // A replaced file keeps the mode it was given; a new one is private
    // whatever the umask.
    const mode_t mode = replacing_ && existing == Existing::Replace ? (old.st_mode & 07777) : 0600;
    int err = 0;
    file_ = openTemporary(dirFd_, name_, mode, tempName_, err);
    if (!file_) {
        discard();
        setError(error, "No se pudo crear \"" + shown + "\": " + describeFileError(err) + ".");
        return false;
    }
    return true;
}

// Puts the temporary file under name unless something is there already
// (EEXIST). The choice is atomic: renameat2 where the file system has it,
// else a hard link, else an empty file made with O_EXCL that is then
// replaced.
int SafeFileWriter::placeFile(const std::string& name)
{
    if (::renameat2(dirFd_, tempName_.c_str(), dirFd_, name.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    if (::linkat(dirFd_, tempName_.c_str(), dirFd_, name.c_str(), 0) == 0) {
        ::unlinkat(dirFd_, tempName_.c_str(), 0);
        return 0;
    }
    if (errno == EEXIST || (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP))
        return errno;
    const int held = ::openat(dirFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (held < 0)
        return errno;
    ::close(held);
    return ::renameat(dirFd_, tempName_.c_str(), dirFd_, name.c_str()) == 0 ? 0 : errno;
}

int SafeFileWriter::placeCommitted(std::string& placed)
{
    if (existing_ == Existing::Replace) {
        if (::renameat(dirFd_, tempName_.c_str(), dirFd_, name_.c_str()) != 0)
            return errno;
        placed = name_;
        return 0;
    }
    int err = placeFile(name_);
    if (err == 0)
        placed = name_;
    if (err == EEXIST && existing_ == Existing::KeepBoth)
        for (int number = nextNumber(dirFd_, name_); number < kMostCopies && err == EEXIST; ++number) {
            const std::string name = numberedName(name_, number);
            err = placeFile(name);
            if (err == 0)
                placed = name;
        }
    return err == EEXIST && existing_ == Existing::KeepExisting ? 0 : err;
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
    // Put in place while still open, so the lock is held until the file has
    // its name and no other writer can take it for a leftover. Every byte is
    // on disk by then, so closing cannot lose any.
    std::string placed;
    if (err == 0)
        err = placeCommitted(placed);
    if (!placed.empty()) {
        tempName_.clear();
        committed_ = path_.find('/') == std::string::npos ? placed : splitPath(path_).first + "/" + placed;
        ::fsync(dirFd_);
    }
    std::fclose(file_);
    file_ = nullptr;
    if (err != 0) {
        discard();
        setError(error, "No se pudo escribir \"" + path_ + "\": " + describeFileError(err) + "." +
                            (replacing_ && existing_ != Existing::KeepBoth ? " El archivo anterior no se ha tocado."
                                                                           : ""));
        return false;
    }
    discard();
    return true;
}

void SafeFileWriter::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempName_.empty()) {
        if (dirFd_ >= 0)
            ::unlinkat(dirFd_, tempName_.c_str(), 0);
        tempName_.clear();
    }
    if (dirFd_ >= 0) {
        ::close(dirFd_);
        dirFd_ = -1;
    }
}

std::string privateFallbackFolder()
{
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (run && run[0] == '/' && ::stat(run, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()) {
        const std::string folder = std::string(run) + "/quorvane";
        ::mkdir(folder.c_str(), 0700);
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        bool own = false;
        if (fd >= 0) {
            own = ::fstat(fd, &info) == 0 && info.st_uid == ::getuid() &&
                  ((info.st_mode & 077) == 0 || ::fchmod(fd, 0700) == 0);
            ::close(fd);
        }
        if (own)
            return folder;
    }
    std::error_code ec;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
    if (ec || temporary.empty())
        return {};
    std::string pattern = (temporary / "quorvane-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
