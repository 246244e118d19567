#include "game_home.h"

#include <cstdlib>
#include <system_error>

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

bool linkGenerated(const fs::path& folder, const fs::path& source, const char* name, std::string* error)
{
    const fs::path link = folder / name;
    const fs::path target = source / name;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status))
        return true;  // the teacher's own
    if (fs::is_symlink(status)) {
        if (fs::read_symlink(link, ec) == target && fs::exists(target, ec))
            return true;
        fs::remove(link, ec);
    }
    if (!fs::exists(target, ec))
        return true;  // not made by this build
    if (fs::is_directory(target, ec))
        fs::create_directory_symlink(target, link, ec);
    else
        fs::create_symlink(target, link, ec);
    return !ec || fail(error, "No se pudo enlazar", link, ec);
}
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
    std::error_code ec;
    fs::create_directories(folder / "bd", ec);
    if (ec)
        return fail(error, "No se pudo crear la carpeta", folder / "bd", ec);
    // Links hold the source's plain absolute name, without "..".
    const fs::path from = fs::weakly_canonical(fs::absolute(source, ec), ec);
    if (fs::equivalent(folder, from, ec))
        return true;
    for (const char* name : kGenerated)
        if (!linkGenerated(folder, from, name, error))
            return false;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".quorvane")
            continue;
        std::error_code copyError;
        fs::copy_file(it->path(), folder / it->path().filename(), fs::copy_options::skip_existing, copyError);
        if (copyError)
            return fail(error, "No se pudo copiar el mapa", it->path(), copyError);
    }
    return !ec || fail(error, "No se pudo leer la carpeta", from, ec);
}

fs::path chooseGameFolder(const fs::path& commandLine, const fs::path& current, const std::vector<fs::path>& sources,
                          const fs::path& user, std::string* error)
{
    fs::path folder = commandLine;
    if (folder.empty()) {
        if (isGameFolder(current))
            return current;
        folder = user;
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
