#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bitmap.h"

std::optional<RgbImage> decodeBitmapFile(const std::string& path, std::string* error)
{
    // The name goes into the text as data, never as a format.
    const auto cannotOpen = [&]() -> std::optional<RgbImage> {
        if (error)
            *error = "Failed to open DIB file " + path + ".\n";
        return std::nullopt;
    };

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        ::close(fd);
        return cannotOpen();
    }
    const size_t size = static_cast<size_t>(info.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return cannotOpen();

    auto image = decodeBitmap(static_cast<const uint8_t*>(mapped), size, error);
    ::munmap(mapped, size);
    return image;
}
