#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bitmap.h"
#include "regular_file.h"

std::optional<RgbImage> decodeBitmapFile(const std::string& path, std::string* error)
{
    return decodeBitmapFile(GameDir{}, path, error);
}

std::optional<RgbImage> decodeBitmapFile(const GameDir& folder, const std::string& name, std::string* error)
{
    // The name goes into the text as data, never as a format; a name that is
    // there but is not a file (a folder, a FIFO) also says what it is.
    const auto cannotOpen = [&](const std::string& why) -> std::optional<RgbImage> {
        if (error)
            *error = "No se pudo abrir la imagen " + name + ": " + why + ".";
        return std::nullopt;
    };

    struct stat info {};
    std::string why;
    const int fd = openRegularFile(folder.file(name), &info, &why);
    if (fd < 0)
        return cannotOpen(why.empty() ? "no se puede leer" : why);
    if (info.st_size <= 0) {
        ::close(fd);
        return cannotOpen("está vacía");
    }
    const size_t size = static_cast<size_t>(info.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED)
        return cannotOpen("no se pudo leer");

    auto image = decodeBitmap(static_cast<const uint8_t*>(mapped), size, error);
    ::munmap(mapped, size);
    if (!image && error)
        *error = name + ": " + *error + ".";
    return image;
}
