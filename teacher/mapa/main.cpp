// quorvane-mapa: checks map files as the game reads them, with the line and
// column of every problem, and can draw them.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_error.h"
#include "map_check.h"
#include "map_drawing.h"
#include "output_file.h"
#include "regular_file.h"
#include "safe_file.h"

namespace {
// The drawing of one map, read as far as it could be, in folder/<name>.svg.
bool writeDrawing(const std::string& name, const MapText& text, const MapCheck& check, const std::string& folder)
{
    const std::filesystem::path out =
        std::filesystem::path(folder) / (std::filesystem::path(name).stem().string() + ".svg");
    std::string error;
    if (writeOutputFile(out.string(), drawMap(std::filesystem::path(name).filename().string(), text, check), error))
        return true;
    std::fprintf(stderr, "quorvane-mapa: no se pudo escribir el dibujo: %s\n", error.c_str());
    return false;
}

const char* const kUsage =
    "Uso: quorvane-mapa [--svg CARPETA] MAPA...\n"
    "     quorvane-mapa --convertir ENTRADA SALIDA [--reemplazar]\n"
    "Revisa cada mapa como lo lee el juego: errores que impiden cargarlo, avisos de lo que impide\n"
    "ganarlo (salida inalcanzable, curvas sin puerta lateral, balas que faltan) y notas.\n"
    "Con --svg dibuja cada mapa, hasta donde se pudo leer, en CARPETA/<nombre>.svg.\n"
    "Sale con 0 cuando todos los mapas se cargan y se pueden ganar sin avisos, con 1 si no.\n"
    "Con --convertir escribe en SALIDA el mapa ENTRADA en el formato del juego: sin marca de orden de\n"
    "bytes (BOM), con finales de línea LF y los números separados por espacios (no por ';' ni ','),\n"
    "y lo revisa. No escribe sobre un archivo que ya existe, a menos que se añada --reemplazar.\n";

// One map: its findings on standard output, a closing line, and its drawing.
bool checkOne(const std::string& name, const std::string& svgFolder)
{
    MapText text;
    readMapText(name, text);
    const MapCheck check = checkMap(text);
    int warnings = 0;
    for (const MapFinding& finding : check.findings) {
        std::printf("%s\n", formatFinding(name, finding).c_str());
        warnings += finding.severity == MapFinding::Severity::Warning;
    }
    const bool drawn = svgFolder.empty() || writeDrawing(name, text, check, svgFolder);
    if (!check.loads) {
        std::printf("%s: el juego no carga este mapa.\n", name.c_str());
        return false;
    }
    if (!check.reachable)
        std::printf("%s: se carga, pero no se puede ganar.\n", name.c_str());
    else if (warnings > 0)
        std::printf("%s: se carga y la salida está a %d pasos, pero hay %d aviso(s).\n", name.c_str(),
                    check.route->advances, warnings);
    else
        std::printf("%s: correcto; la salida está a %d pasos del inicio.\n", name.c_str(), check.route->advances);

    return warnings == 0 && drawn;
}

// Rewrites a map in the game's format and checks what was written.
int convert(const std::string& in, const std::string& out, bool replace)
{
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readRegularFile(in, bytes, kMaxTextFileBytes, &why)) {
        std::fprintf(stderr, "quorvane-mapa: no se pudo leer \"%s\": %s.\n", in.c_str(), why.c_str());
        return 2;
    }
    // The output never takes the place of a file, the map itself least of
    // all, unless the teacher asks for it.
    std::error_code ec;
    auto exists = [&] { return std::filesystem::exists(std::filesystem::symlink_status(out, ec)); };
    if (const std::string refused = !replace && exists() ? "\"" + out + "\" ya existe; no se escribió nada. Elija otro "
                                                           "nombre o añada --reemplazar."
                                                         : outputRefusal(out);
        !refused.empty()) {
        std::fprintf(stderr, "quorvane-mapa: %s\n", refused.c_str());
        return 2;
    }
    const std::string text =
        mapInGameFormat(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    SafeFileWriter writer;
    std::string error;
    bool written = writer.open(out, &error);
    written = written && std::fwrite(text.data(), 1, text.size(), writer.stream()) == text.size();
    if (written && !replace && exists()) {
        std::fprintf(stderr, "quorvane-mapa: \"%s\" apareció mientras se escribía; no se escribió nada.\n",
                     out.c_str());
        return 2;
    }
    if (!written || !writer.commit(&error)) {
        std::fprintf(stderr, "quorvane-mapa: no se pudo escribir \"%s\": %s\n", out.c_str(),
                     error.empty() ? "error de escritura." : error.c_str());
        return 2;
    }
    std::printf("%s: escrito en el formato del juego a partir de %s.\n", out.c_str(), in.c_str());
    return checkOne(out, {}) ? 0 : 1;
}
// The folder the drawings go to, made if need be; false, said why, when it
// cannot be.
bool makeFolder(const std::string& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec)
        return true;
    std::fprintf(stderr, "quorvane-mapa: no se pudo crear la carpeta \"%s\": %s.\n", folder.c_str(),
                 describeError(ec).c_str());
    return false;
}
}

int main(int argc, char* argv[])
{
    std::string svgFolder;
    std::vector<std::string> maps;
    std::vector<std::string> conversion;
    bool replace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--svg") == 0 && i + 1 < argc) {
            svgFolder = argv[++i];
        } else if (std::strcmp(argv[i], "--convertir") == 0 && i + 2 < argc) {
            conversion = {argv[i + 1], argv[i + 2]};
            i += 2;
        } else if (std::strcmp(argv[i], "--reemplazar") == 0) {
            replace = true;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--ayuda") == 0 ||
                   std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "quorvane-mapa: opción desconocida \"%s\".\n%s", argv[i], kUsage);
            return 2;
        } else {
            maps.emplace_back(argv[i]);
        }
    }
    if (!conversion.empty() && maps.empty() && svgFolder.empty())
        return convert(conversion[0], conversion[1], replace);
    if (maps.empty() || !conversion.empty() || replace) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!svgFolder.empty() && !makeFolder(svgFolder))
        return 2;
    bool allGood = true;
    for (const std::string& map : maps)
        allGood = checkOne(map, svgFolder) && allGood;
    return allGood ? 0 : 1;
}
