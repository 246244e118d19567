#include "map_check.h"

#include "map_codes.h"

namespace {
using Severity = MapFinding::Severity;

const char* towards(int facing)
{
    switch (facing) {
    case 1: return "arriba";
    case 2: return "abajo";
    case 3: return "la derecha";
    default: return "la izquierda";
    }
}

bool open(const CodeGrid& codes, int r, int c, int facing)
{
    int ar = 0, ac = 0;
    return squareAhead(r, c, facing, ar, ac) && codes[ar][ac] != MapCode::Wall;
}

bool isEnd(int32_t code) { return code == MapCode::Exit || code == MapCode::ExitOrTrap; }

// A square where the corridor ahead ends: a way on to one side with no door
// of that side cannot be taken, and with no way on at all the player is stuck,
// for he never turns back.
void checkBends(const MapText& map, const Reach& reach, std::vector<MapFinding>& out)
{
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c) {
            const int32_t code = map.codes[r][c];
            if (isEnd(code))
                continue;
            bool reported = false;
            for (int facing = 1; facing <= 4 && !reported; ++facing) {
                if (!reach.at[r][c][facing][1] || open(map.codes, r, c, facing))
                    continue;
                const int left = turnedFacing(facing, true), right = turnedFacing(facing, false);
                const bool leftOpen = open(map.codes, r, c, left), rightOpen = open(map.codes, r, c, right);
                std::string text;
                if (leftOpen && code != MapCode::DoorLeft && !(rightOpen && code == MapCode::DoorRight))
                    text = std::string("curva sin puerta: el jugador llega yendo hacia ") + towards(facing) +
                           " y el pasillo sigue hacia " + towards(left) +
                           "; para doblar hace falta aquí una puerta a la izquierda (código 5).";
                else if (rightOpen && code != MapCode::DoorRight && !(leftOpen && code == MapCode::DoorLeft))
                    text = std::string("curva sin puerta: el jugador llega yendo hacia ") + towards(facing) +
                           " y el pasillo sigue hacia " + towards(right) +
                           "; para doblar hace falta aquí una puerta a la derecha (código 6).";
                else if (!leftOpen && !rightOpen)
                    text = std::string("callejón sin salida: el jugador llega yendo hacia ") + towards(facing) +
                           " y no puede seguir ni volver atrás.";
                if (!text.empty()) {
                    out.push_back({Severity::Warning, map.places[r][c], text});
                    reported = true;
                }
            }
        }
}

void checkBullets(const MapText& map, const Route& route, std::vector<MapFinding>& out)
{
    const BulletBalance balance = bulletBalance(map.codes, route);
    if (balance.certain < 0) {
        out.push_back({Severity::Warning, map.places[balance.shortRow][balance.shortCol],
                       "faltan balas: por el camino más corto, el jugador llega aquí sin las balas que "
                       "necesita para el monstruo (le faltan " + std::to_string(-balance.certain) +
                           " en total; cada balas (código 9) da 6)."});
    } else if (balance.worst < 0) {
        out.push_back({Severity::Note, {},
                       "si las casillas al azar (código 2) salen super monstruos, por el camino más corto "
                       "pueden faltar hasta " + std::to_string(-balance.worst) + " balas."});
    }
}

// The player begins on the last start square read; any other is a slip.
void checkStarts(const MapText& map, const StartSquare& start, std::vector<MapFinding>& out)
{
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (map.codes[r][c] == MapCode::Start && (r != start.row || c != start.col))
                out.push_back({Severity::Note, map.places[r][c],
                               "hay más de una casilla de inicio; el jugador empieza en la última "
                               "(línea " + std::to_string(map.places[start.row][start.col].line) + ")."});
}

bool hasExit(const CodeGrid& codes)
{
    for (const auto& row : codes)
        for (int32_t code : row)
            if (isEnd(code))
                return true;
    return false;
}

// The shortest way out, and what it asks of the player on the way.
void checkRoute(const MapText& map, MapPlace startPlace, MapCheck& check)
{
    Reach reach;
    check.route = findRoute(map.codes, CodeSet::Map, &reach);
    check.reachable = check.route.has_value();
    checkBends(map, reach, check.findings);
    if (!check.route) {
        check.findings.push_back({Severity::Warning, startPlace,
                                  "no se puede llegar a la salida desde la casilla de inicio avanzando y "
                                  "doblando por las puertas laterales."});
        return;
    }
    checkBullets(map, *check.route, check.findings);
    if (check.route->advances >= 500)
        check.findings.push_back({Severity::Note, {},
                                  "el camino más corto tiene " + std::to_string(check.route->advances) +
                                      " pasos; el informe del nivel guarda solo los 500 primeros."});
}
}


MapCheck checkMap(const MapText& map)
{
    MapCheck check;
    for (const MapProblem& p : map.errors)
        check.findings.push_back({Severity::Error, p.place, p.text});
    for (const MapProblem& p : map.ignored)
        check.findings.push_back({Severity::Note, p.place, p.text});
    check.loads = map.errors.empty();
    if (!check.loads)
        return check;

    const StartSquare start = findStart(map.codes);
    checkStarts(map, start, check.findings);
    const MapPlace startPlace = map.places[start.row][start.col];
    if (start.facing == 0) {
        check.findings.push_back({Severity::Warning, startPlace,
                                  "la casilla de inicio está encerrada: ninguna casilla a su lado está abierta."});
        return check;
    }
    if (!hasExit(map.codes)) {
        check.findings.push_back({Severity::Warning, {}, "no tiene salida (código 7 u 8)."});
        return check;
    }
    checkRoute(map, startPlace, check);
    return check;
}

std::string formatFinding(const std::string& name, const MapFinding& finding)
{
    std::string text = name + ":";
    if (finding.place.line > 0)
        text += std::to_string(finding.place.line) + ":" + std::to_string(finding.place.column) + ":";
    const char* word = finding.severity == Severity::Error     ? " error: "
                       : finding.severity == Severity::Warning ? " aviso: "
                                                               : " nota: ";
    return text + word + finding.text;
}
