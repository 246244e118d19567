#include "report_format.h"

namespace {
// 0xBA is the ordinal sign in Windows-1252.
const char* const kLabels[kCounterCount] = {
    "Tiempo de juego :",
    "N\xBA Disparos errados :",
    "Disparos errados a monstruos :",
    "Disparos errados a mutantes :",
    "Disparos errados a supermonstruos :",
    "Disparos errados en pasillo :",
    "N\xBA Pasos en falso :",
    "N\xBA Pasos con monstruo :",
    "Choque contra la puerta :",
    "Error al tomar las balas :",
    "N\xBA Pasos avanzados :",
    "Balas Final :",
};
}

const char* reportLabel(Counter counter) { return kLabels[counter]; }
