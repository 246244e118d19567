#include "regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
void setReason(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
}
}  // namespace

std::string describeFileError(int errnum)
{
    switch (errnum) {
    case ENOENT: return "no existe";
    case EACCES:
    case EPERM: return "no hay permiso";
    case EISDIR: return "es una carpeta, no un archivo";
    case ENOTDIR: return "una parte del camino no es una carpeta";
    case ENOSPC:
    case EDQUOT: return "el disco está lleno";
    case EFBIG: return "el archivo es demasiado grande";
    case EROFS: return "el disco es de solo lectura";
    case ENAMETOOLONG: return "el nombre es demasiado largo";
    case ELOOP: return "tiene demasiados enlaces simbólicos";
    case ENXIO: return "es un dispositivo que no responde, no un archivo";
    case EIO: return "error de lectura o escritura del disco";
    case EMFILE:
    case ENFILE: return "hay demasiados archivos abiertos";
    case ENOMEM: return "no hay memoria suficiente";
    case EBUSY:
    case ETXTBSY: return "está en uso";
    case EAGAIN: return "no está disponible ahora";
    case EEXIST: return "ya existe";
    case ENOTEMPTY: return "la carpeta no está vacía";
    case EXDEV: return "está en otro disco";
    case EINVAL: return "el nombre o la operación no son válidos";
    case ENODEV: return "el dispositivo no existe";
    // The system's own text is English: the teacher gets the number to ask
    // about instead.
    default: return "error del sistema número " + std::to_string(errnum);
    }
}

std::string describeNotRegular(mode_t mode)
{
    if (S_ISDIR(mode))
        return "es una carpeta, no un archivo";
    if (S_ISFIFO(mode))
        return "es una tubería (FIFO), no un archivo";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "es un dispositivo, no un archivo";
    if (S_ISSOCK(mode))
        return "es un socket, no un archivo";
    return "no es un archivo común";
}

int openRegularFile(const std::string& path, struct stat* info, std::string* reason)
{
    // O_NONBLOCK: a FIFO with no writer opens at once instead of waiting for
    // one; it is then refused below like any other non-regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        setReason(reason, describeFileError(errno));
        return -1;
    }
    struct stat own {};
    struct stat& st = info ? *info : own;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        setReason(reason, describeFileError(err));
        ::close(fd);
        errno = err;
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        setReason(reason, describeNotRegular(st.st_mode));
        ::close(fd);
        errno = 0;
        return -1;
    }
    // Reads from a regular file never wait; blocking mode back all the same,
    // so a caller that hands the descriptor on gets an ordinary one.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool readRegularFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                     std::string* reason)
{
    struct stat info {};
    const int fd = openRegularFile(path, &info, reason);
    if (fd < 0)
        return false;
    if (static_cast<uint64_t>(info.st_size) > maxBytes) {
        ::close(fd);
        setReason(reason, "es demasiado grande (" + std::to_string(info.st_size) + " bytes; se admiten hasta " +
                              std::to_string(maxBytes) + ")");
        return false;
    }
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            setReason(reason, describeFileError(errno));
            ok = false;
        }
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    ::close(fd);
    return ok;
}
