#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "wave.h"

namespace {

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

// Reads a whole regular file. The file is opened non-blocking so that a FIFO
// or device node under a sound's name cannot stall the game; it is then
// refused for not being a regular file.
bool readRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(error, path + ": " + std::strerror(errno));

    struct stat info {};
    bool ok = false;
    if (::fstat(fd, &info) != 0)
        fail(error, path + ": " + std::strerror(errno));
    else if (!S_ISREG(info.st_mode))
        fail(error, path + ": not a regular file");
    else if (uint64_t(info.st_size) > kMaxWaveFileBytes)
        fail(error, path + ": too large for a sound");
    else {
        bytes.resize(size_t(info.st_size));
        size_t done = 0;
        ok = true;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                // A file that shrank while being read is taken as it now is.
                if (got < 0)
                    ok = fail(error, path + ": " + std::strerror(errno));
                bytes.resize(done);
                break;
            }
            done += size_t(got);
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace

bool loadWaveFile(const std::string& path, WaveSound& out, std::string* error)
{
    std::vector<uint8_t> bytes;
    if (!readRegularFile(path, bytes, error))
        return false;
    std::string why;
    if (!decodeWave(bytes, out, &why))
        return fail(error, path + ": " + why);
    return true;
}
