// quorvane-mapa: checks map files as the game reads them, with the line and
// column of every problem, and can draw them.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "map_check.h"
#include "map_drawing.h"

namespace {
const char* const kUsage =
    "Uso: quorvane-mapa [--svg CARPETA] MAPA...\n"
    "Revisa cada mapa como lo lee el juego: errores que impiden cargarlo, avisos de lo que impide\n"
    "ganarlo (salida inalcanzable, curvas sin puerta lateral, balas que faltan) y notas.\n"
    "Con --svg dibuja cada mapa que se carga en CARPETA/<nombre>.svg.\n"
    "Sale con 0 cuando todos los mapas se cargan y se pueden ganar sin avisos, con 1 si no.\n";

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

    if (!svgFolder.empty()) {
        const std::filesystem::path out =
            std::filesystem::path(svgFolder) / (std::filesystem::path(name).stem().string() + ".svg");
        std::ofstream file(out, std::ios::binary);
        file << drawMap(std::filesystem::path(name).filename().string(), text, check);
        if (!file.flush()) {
            std::fprintf(stderr, "%s: no se pudo escribir el dibujo.\n", out.string().c_str());
            return false;
        }
    }
    return warnings == 0;
}
}

int main(int argc, char* argv[])
{
    std::string svgFolder;
    std::vector<std::string> maps;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--svg") == 0 && i + 1 < argc) {
            svgFolder = argv[++i];
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
    if (maps.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!svgFolder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(svgFolder, ec);
        if (ec) {
            std::fprintf(stderr, "quorvane-mapa: no se pudo crear la carpeta \"%s\": %s\n", svgFolder.c_str(),
                         ec.message().c_str());
            return 2;
        }
    }
    bool allGood = true;
    for (const std::string& map : maps)
        allGood = checkOne(map, svgFolder) && allGood;
    return allGood ? 0 : 1;
}
