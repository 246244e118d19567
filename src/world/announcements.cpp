#include "announcements.h"

namespace {
const Announcement kAnnouncements[] = {
    /* 3 */ {"Sonidos/EncontrarPuertaCen.wav", "Hay una puerta al centro.\n"},
    /* 4 */ {"Sonidos/EncontrarPuertaIzq.wav", "Hay una puerta a la izquierda.\n"},
    /* 5 */ {"Sonidos/EncontrarPuertaDer.wav", "Hay una puerta a la derecha.\n"},
    /* 6 */ {nullptr, nullptr},
    /* 7 */ {"Sonidos/RecargaBalasIzq.wav", "Hay balas a tu izquierda.\n"},
    /* 8 */ {"Sonidos/RecargaBalasCen.wav", "Hay balas en el centro.\n"},
    /* 9 */ {"Sonidos/RecargaBalasDer.wav", "Hay balas a la derecha.\n"},
    /* 10 */ {"Sonidos/MonstruoIzq.wav", "Hay un monstruo a la izquierda.\n"},
    /* 11 */ {"Sonidos/MonstruoCen.wav", "Hay un monstruo al centro.\n"},
    /* 12 */ {"Sonidos/MonstruoDer.wav", "Hay un monstruo a la derecha.\n"},
    /* 13 */ {"Sonidos/MutanteIzq.wav", "Hay un mutante a la izquierda.\n"},
    /* 14 */ {"Sonidos/MutanteCen.wav", "Hay un mutante al centro.\n"},
    /* 15 */ {"Sonidos/MutanteDer.wav", "Hay un mutante a la derecha.\n"},
    /* 16 */ {"Sonidos/SuperMonstruoIzq.wav", "Hay un super monstruo a la izquierda.\n"},
    /* 17 */ {"Sonidos/SuperMonstruoCen.wav", "Hay un super monstruo al centro.\n"},
    /* 18 */ {"Sonidos/SuperMonstruoDer.wav", "Hay un super monstruo a la derecha.\n"},
};
}

Announcement announcementFor(int32_t kind)
{
    if (kind < 3 || kind > 18)
        return {nullptr, nullptr};
    return kAnnouncements[kind - 3];
}
