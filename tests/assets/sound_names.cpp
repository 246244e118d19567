#include "sound_names.h"

#include <fstream>
#include <iterator>
#include <regex>

std::set<std::string> listedSoundFiles()
{
    std::set<std::string> names = {
        "Sonidos/15X_M.wav", "Sonidos/ATT_VolverAJugar.wav", "Sonidos/AbriendoPuertaCen.wav",
        "Sonidos/AbriendoPuertaDer.wav", "Sonidos/AbriendoPuertaIzq.wav", "Sonidos/AlarmaFinal.wav",
        "Sonidos/Balas.wav", "Sonidos/BalasAlCentro.wav", "Sonidos/BalasAlaDerecha.wav",
        "Sonidos/BalasAlaIzquierda.wav", "Sonidos/BalazoCen.wav", "Sonidos/BalazoDer.wav",
        "Sonidos/BalazoIzq.wav", "Sonidos/Choque.wav", "Sonidos/EncontrarPuertaCen.wav",
        "Sonidos/EncontrarPuertaDer.wav", "Sonidos/EncontrarPuertaIzq.wav", "Sonidos/ErrarCen.wav",
        "Sonidos/ExplosionFinal.wav", "Sonidos/FinalmenteTeQuedaron.wav", "Sonidos/Ganaste.wav",
        "Sonidos/InicioJuego.wav", "Sonidos/Intro1.wav", "Sonidos/Intro2.wav",
        "Sonidos/MonstruoCen.wav", "Sonidos/MonstruoDer.wav", "Sonidos/MonstruoIzq.wav",
        "Sonidos/MuerteMutante.wav", "Sonidos/MuerteSuperMonstruo.wav", "Sonidos/MusicaFinal.wav",
        "Sonidos/MusicaFondo.wav", "Sonidos/MutanteCen.wav", "Sonidos/MutanteDer.wav",
        "Sonidos/MutanteIzq.wav", "Sonidos/NoBalasCen.wav", "Sonidos/Pasos.wav",
        "Sonidos/PerderPorBalas.wav", "Sonidos/PerdistePorMonstruoGigante.wav",
        "Sonidos/RecargaBalasCen.wav", "Sonidos/RecargaBalasDer.wav", "Sonidos/RecargaBalasIzq.wav",
        "Sonidos/SuperMonstruoCen.wav", "Sonidos/SuperMonstruoDer.wav",
        "Sonidos/SuperMonstruoIzq.wav", "Sonidos/TeQuedan.wav", "Sonidos/Trampa.wav",
        "Sonidos/escribetunombreypresiona.wav", "SonidosLetras/borrar.wav",
        "SonidosSeteo/BalasIniActivadas.wav", "SonidosSeteo/BalasIniDesactivadas.wav",
        "SonidosSeteo/MostraMapaActivado.wav", "SonidosSeteo/MostrarMapaDesactivado.wav",
        "SonidosSeteo/MouseActivado.wav", "SonidosSeteo/MouseDesactivado.wav",
        "SonidosSeteo/MusicaActivada.wav", "SonidosSeteo/MusicaDesactivada.wav",
    };
    // The bullet count, "00" to "15", and the spoken letters and digits.
    for (int n = 0; n <= 15; ++n) {
        const char digits[] = {char('0' + n / 10), char('0' + n % 10), '\0'};
        names.insert(std::string("Sonidos/") + digits + "__M.wav");
    }
    for (char c = 'a'; c <= 'z'; ++c)
        names.insert(std::string("SonidosLetras/") + c + ".wav");
    for (char c = '0'; c <= '9'; ++c)
        names.insert(std::string("SonidosLetras/") + c + ".wav");
    return names;
}

std::set<std::string> soundLiteralsIn(const std::filesystem::path& src)
{
    const std::regex literal(R"re("(Sonidos(?:Letras|Seteo)?/[^"%\\]+\.wav)")re");
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
            found.insert((*it)[1].str());
    }
    return found;
}
