#include "counter_names.h"

namespace {
struct CounterNames {
    const char* shown;
    const char* column;
};
const CounterNames kNames[kCounterCount] = {
    {"Tiempo de juego (s)", "tiempo_juego_s"},
    {"Nº Disparos errados", "disparos_errados"},
    {"Disparos errados a monstruos", "errados_monstruos"},
    {"Disparos errados a mutantes", "errados_mutantes"},
    {"Disparos errados a supermonstruos", "errados_supermonstruos"},
    {"Disparos errados en pasillo", "errados_pasillo"},
    {"Nº Pasos en falso (choques con la pared)", "pasos_en_falso"},
    {"Nº Pasos con monstruo", "pasos_con_monstruo"},
    {"Choque contra la puerta", "choques_puerta"},
    {"Error al tomar las balas", "errores_balas"},
    {"Nº Pasos avanzados", "pasos"},
    {"Balas al final", "balas_final"},
};
}

const char* counterLabel(Counter counter) { return kNames[counter].shown; }
const char* counterColumn(Counter counter) { return kNames[counter].column; }
