#include "sound_check.h"

#include <set>

#include "speech_table.h"
#include "wave.h"

namespace {
// The files the rules and the shell name in their code.
const char* const kNamedInCode[] = {
    "Sonidos/15X_M.wav", "Sonidos/ATT_VolverAJugar.wav", "Sonidos/AbatidoCen.wav",
    "Sonidos/AbatidoDer.wav", "Sonidos/AbatidoIzq.wav", "Sonidos/AbriendoPuertaCen.wav",
    "Sonidos/AbriendoPuertaDer.wav", "Sonidos/AbriendoPuertaIzq.wav", "Sonidos/AlarmaFinal.wav",
    "Sonidos/AprendeAvanzar.wav", "Sonidos/AprendeBalas.wav", "Sonidos/AprendeCen.wav",
    "Sonidos/AprendeDer.wav", "Sonidos/AprendeDonde.wav", "Sonidos/AprendeIzq.wav",
    "Sonidos/AprendeRepetir.wav",
    "Sonidos/Balas.wav", "Sonidos/BalasAlCentro.wav", "Sonidos/BalasAlaDerecha.wav",
    "Sonidos/BalasAlaIzquierda.wav", "Sonidos/BalazoCen.wav", "Sonidos/BalazoDer.wav",
    "Sonidos/BalazoIzq.wav", "Sonidos/Choque.wav", "Sonidos/EncontrarPuertaCen.wav",
    "Sonidos/EncontrarPuertaDer.wav", "Sonidos/EncontrarPuertaIzq.wav", "Sonidos/ErrarCen.wav",
    "Sonidos/Ganaste.wav", "Sonidos/ImpactoCen.wav", "Sonidos/ImpactoDer.wav", "Sonidos/ImpactoIzq.wav",
    "Sonidos/InicioJuego.wav", "Sonidos/Intro1.wav", "Sonidos/Intro2.wav",
    "Sonidos/MonstruoCen.wav", "Sonidos/MonstruoDer.wav", "Sonidos/MonstruoIzq.wav",
    "Sonidos/MuerteMutante.wav", "Sonidos/MuerteSuperMonstruo.wav", "Sonidos/MusicaFinal.wav",
    "Sonidos/MusicaFondo.wav", "Sonidos/MutanteCen.wav", "Sonidos/MutanteDer.wav",
    "Sonidos/MutanteIzq.wav", "Sonidos/MuyBien.wav", "Sonidos/NoBalasCen.wav", "Sonidos/Objetivo.wav",
    "Sonidos/PasoBloqueado.wav", "Sonidos/Pasos.wav",
    "Sonidos/PerderPorBalas.wav", "Sonidos/PerdistePorMonstruoGigante.wav",
    "Sonidos/RecargaBalasCen.wav", "Sonidos/RecargaBalasDer.wav", "Sonidos/RecargaBalasIzq.wav",
    "Sonidos/SuperMonstruoCen.wav", "Sonidos/SuperMonstruoDer.wav",
    "Sonidos/SuperMonstruoIzq.wav", "Sonidos/TeQuedan.wav", "Sonidos/Trampa.wav",
    "Sonidos/escribetunombreypresiona.wav", "Sonidos/Nada.wav", "Sonidos/Salir.wav",
    "Sonidos/TeclaIgnorada.wav", "Sonidos/TituloNivel1.wav", "Sonidos/TituloNivel2.wav",
    "Sonidos/TituloNivel3.wav", "Sonidos/TituloNivel4.wav", "Sonidos/TituloNivel5.wav",
    "Sonidos/TituloNivel6.wav", "Sonidos/VidaPerdida.wav", "Sonidos/VidaPerdida1.wav", "Sonidos/VidaPerdida2.wav",
    "Sonidos/VidaPerdida3.wav", "Sonidos/VidaPerdida4.wav", "Sonidos/VidaPerdida5.wav",
    "Sonidos/Vidas1.wav", "Sonidos/Vidas2.wav", "Sonidos/Vidas3.wav", "Sonidos/Vidas4.wav",
    "Sonidos/Vidas5.wav", "Sonidos/Vidas6.wav", "Sonidos/VolverOSiguiente.wav",
    "SonidosLetras/borrar.wav", "SonidosLetras/enie.wav",
    "SonidosSeteo/BalasIniActivadas.wav", "SonidosSeteo/BalasIniDesactivadas.wav",
    "SonidosSeteo/MostraMapaActivado.wav", "SonidosSeteo/MostrarMapaDesactivado.wav",
    "SonidosSeteo/MouseActivado.wav", "SonidosSeteo/MouseDesactivado.wav",
    "SonidosSeteo/MusicaActivada.wav", "SonidosSeteo/MusicaDesactivada.wav",
};
}  // namespace

std::vector<std::string> gameSoundFiles(const SpeechTable& table)
{
    std::vector<std::string> names(std::begin(kNamedInCode), std::end(kNamedInCode));
    // The bullet count, "00" to "15", and the spoken letters and digits.
    for (int n = 0; n <= 15; ++n)
        names.push_back("Sonidos/" + std::string{char('0' + n / 10), char('0' + n % 10)} + "__M.wav");
    for (char c = 'a'; c <= 'z'; ++c)
        names.push_back(std::string("SonidosLetras/") + c + ".wav");
    for (char c = '0'; c <= '9'; ++c)
        names.push_back(std::string("SonidosLetras/") + c + ".wav");
    for (const std::string& name : table.files())
        names.push_back(name);

    std::set<std::string> seen;
    std::vector<std::string> unique;
    for (std::string& name : names)
        if (seen.insert(name).second)
            unique.push_back(std::move(name));
    return unique;
}

std::string unplayableSoundsMessage(const std::vector<std::string>& problems, size_t shown)
{
    if (problems.empty())
        return {};
    std::string text = problems.size() == 1 ? "Un sonido del juego no se puede tocar:\n"
                                            : std::to_string(problems.size()) +
                                                  " sonidos del juego no se pueden tocar:\n";
    for (size_t i = 0; i < problems.size() && i < shown; ++i)
        text += "  " + problems[i] + "\n";
    if (problems.size() > shown)
        text += "  ... y " + std::to_string(problems.size() - shown) + " más.\n";
    return text + "El juego sigue; donde iba cada uno de ellos no se oye nada.";
}

std::vector<std::string> unplayableSoundFiles(const GameDir& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> problems;
    for (const std::string& name : names) {
        WaveSound sound;
        std::string why;
        if (!loadWaveFile(folder, name, sound, &why))
            problems.push_back(why);  // "name: reason"
    }
    return problems;
}
