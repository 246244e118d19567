#pragma once
#include "sound.h"

// The game's sound channels, each named for what it plays.
struct Channels {
    SoundChannel sonido;
    SoundChannel SonidoDisparos;
    SoundChannel SonidoMonstruos;
    SoundChannel SonidosExtras;
    SoundChannel MusicaDeFondo;
    SoundChannel SonidoPasos;
    SoundChannel MusicaFinal;
    SoundChannel SonidoFeedBackSeteo;
    SoundChannel SonidoMuerteMonstruo;
    SoundChannel SonidoBloqueando;
    SoundChannel SonidoEscribeTuNombre;
    SoundChannel SonidoIntroduccion1;
    SoundChannel SonidoIntroduccion2;
};
