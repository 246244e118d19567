#include "safe_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The mode a plainly created file would get: the old file's mode when one is
// replaced, otherwise what the process's umask allows.
mode_t modeFor(const std::string& path)
{
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}
}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open(const std::string& path, std::string* error)
{
    discard();
    path_ = path;
    std::string pattern = path + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        setError(error, "No se pudo crear \"" + path + "\": " + describeFileError(errno) + ".");
        return false;
    }
    ::fchmod(fd, modeFor(path));
    tempPath_ = pattern;
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
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (err == 0 && closed != 0)
        err = errno;
    if (err == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        err = errno;
    if (err != 0) {
        discard();
        setError(error, "No se pudo escribir \"" + path_ + "\": " + describeFileError(err) +
                            ". El archivo anterior no se ha tocado.");
        return false;
    }
    tempPath_.clear();
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
