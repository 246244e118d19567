#include "game_home.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "map_file.h"
#include "regular_file.h"
#include "safe_file.h"

namespace fs = std::filesystem;

namespace {
// What the build makes and the game only reads: linked, never copied, so a
// rebuilt voice reaches every user's folder.
const char* const kGenerated[] = {"Sonidos", "SonidosLetras", "SonidosSeteo", "Lento",
                                   "Data",    "alsoft.conf",   "speech.tsv"};

bool fail(std::string* error, const std::string& what, const fs::path& path, const std::error_code& ec)
{
    if (error)
        *error = what + " \"" + path.string() + "\": " + ec.message();
    return false;
}

// A link made where nothing stands is made in one step, so two games
// starting at once on a fresh folder both end with the one link; a link that
// points at a moved build is replaced by a rename, so the name never stands
// empty.
bool linkGenerated(const fs::path& folder, const fs::path& source, const char* name, std::string* error)
{
    const fs::path link = folder / name;
    const fs::path target = source / name;
    std::error_code ec;
    auto ours = [&] {
        std::error_code e;
        return fs::is_symlink(fs::symlink_status(link, e)) && fs::read_symlink(link, e) == target;
    };
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status))
        return true;  // the teacher's own
    if (ours() && fs::exists(target, ec))
        return true;
    if (!fs::exists(target, ec)) {
        if (fs::is_symlink(status))
            fs::remove(link, ec);
        return true;  // not made by this build
    }
    if (!fs::is_symlink(status)) {
        fs::create_symlink(target, link, ec);
        return !ec || ours() || fail(error, "No se pudo enlazar", link, ec);
    }
    const fs::path temporary = safeFileTempName(link.string());
    fs::create_symlink(target, temporary, ec);
    if (!ec)
        fs::rename(temporary, link, ec);
    if (ec)
        fs::remove(temporary, ec);
    return ours() || fail(error, "No se pudo enlazar", link, ec);
}

// A shipped map the folder lacks is written whole under a temporary name and
// only then given its own, never over a file that is there: a copy cut short
// leaves nothing, and of two games starting at once one copy is kept. An
// empty file under a shipped map's name cannot be a teacher's map (an empty
// map is refused); it is what an old copy left when the disk was full, and
// is copied again.
bool copyMap(const fs::path& from, const fs::path& to, std::string* error)
{
    struct stat there {};
    const bool present = ::lstat(to.c_str(), &there) == 0;
    const bool emptyLeft = present && S_ISREG(there.st_mode) && there.st_size == 0;
    if (present && !emptyLeft)
        return true;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(from.string(), bytes, kMaxTextFileBytes, &why)) {
        if (error)
            *error = "No se pudo copiar el mapa \"" + from.string() + "\": " + why + ".";
        return false;
    }
    if (bytes.empty())
        return true;
    SafeFileWriter writer;
    if (!writer.open(to.string(), error,
                     emptyLeft ? SafeFileWriter::Existing::Replace : SafeFileWriter::Existing::KeepExisting))
        return false;
    std::fwrite(bytes.data(), 1, bytes.size(), writer.stream());
    return writer.commit(error);
}

// The per-user folder may hold a dozen children's reports: a folder made
// here, or one this user owns that a looser umask left open, is made 0700.
bool makePrivate(const fs::path& folder)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return (info.st_mode & 077) == 0 || info.st_uid != ::getuid() || ::chmod(folder.c_str(), 0700) == 0;
}
}

bool makePrivateFolder(const fs::path& folder)
{
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

fs::path userGameFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data && fs::path(data).is_absolute())
        return fs::path(data) / "quorvane";
    const char* home = std::getenv("HOME");
    if (home && *home && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "share" / "quorvane";
    return {};
}

bool isGameFolder(const fs::path& folder)
{
    std::error_code ec;
    return fs::exists(folder / "Data" / "Font2.bmp", ec);
}

bool prepareGameFolder(const fs::path& folder, const fs::path& source, std::string* error)
{
    for (const fs::path& made : {folder, folder / "bd"}) {
        if (!makePrivateFolder(made)) {
            const int err = errno;
            struct stat info {};
            std::string why = describeFileError(err);
            if (::lstat(made.c_str(), &info) == 0)
                why = S_ISLNK(info.st_mode) ? "es un enlace simbólico, no una carpeta"
                                            : "no es una carpeta sino un archivo";
            if (error)
                *error = "No se pudo crear la carpeta \"" + made.string() + "\": " + why + ".";
            return false;
        }
        removeLeftoverTemporaries(made.string());
    }
    std::error_code ec;
    // Links hold the source's plain absolute name, without "..".
    const fs::path from = fs::weakly_canonical(fs::absolute(source, ec), ec);
    if (fs::equivalent(folder, from, ec))
        return true;
    for (const char* name : kGenerated)
        if (!linkGenerated(folder, from, name, error))
            return false;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".quorvane" && !copyMap(it->path(), folder / it->path().filename(), error))
            return false;
    return !ec || fail(error, "No se pudo leer la carpeta", from, ec);
}

fs::path chooseGameFolder(const fs::path& commandLine, const fs::path& current, const std::vector<fs::path>& sources,
                          const fs::path& user, std::string* error)
{
    fs::path folder = commandLine;
    if (folder.empty()) {
        if (isGameFolder(current)) {
            removeLeftoverTemporaries(current.string());
            removeLeftoverTemporaries((current / "bd").string());
            return current;
        }
        folder = user;
        // Made by an older game under a looser umask: closed to others now.
        makePrivate(user);
        makePrivate(user / "bd");
    }
    if (folder.empty()) {
        if (error)
            *error = "No hay carpeta personal (HOME) donde guardar los informes.";
        return {};
    }
    // A folder named by hand that is not yet a game folder is made one, as
    // the user's folder is; one that is keeps what it holds.
    for (const fs::path& source : sources)
        if (!source.empty() && isGameFolder(source))
            return prepareGameFolder(folder, source, error) ? folder : fs::path();
    if (isGameFolder(folder))
        return folder;
    if (error)
        *error = "No se encontraron los sonidos y dibujos del juego.";
    return {};
}

fs::path fallbackGameFolder(const std::vector<fs::path>& sources, const std::string& why, std::string* notice)
{
    std::string error = "no se encontraron los sonidos y dibujos del juego";
    for (const fs::path& source : sources) {
        if (source.empty() || !isGameFolder(source))
            continue;
        const std::string folder = privateFallbackFolder();
        if (folder.empty()) {
            error = "no se pudo crear una carpeta privada";
        } else if (prepareGameFolder(folder, source, &error)) {
            if (notice)
                *notice = why + "\nLos informes y las partidas guardadas de esta vez van a la carpeta privada \"" +
                          folder + "\", que se borra al cerrar la sesión o al apagar el equipo: cópielos antes.";
            return folder;
        }
        break;
    }
    if (notice)
        *notice = why + "\nTampoco se pudo preparar otra carpeta (" + error + "): se juega en la carpeta del juego.";
    return {};
}
