#include "child_levels.h"

#include <algorithm>
#include <cmath>

std::vector<Child> groupByChild(const std::vector<PlayedLevel>& levels)
{
    std::vector<Child> children;
    for (const PlayedLevel& level : levels) {
        auto it = std::find_if(children.begin(), children.end(),
                               [&](const Child& c) { return c.name == level.report->player; });
        if (it == children.end()) {
            children.push_back({level.report->player, {}, {}});
            it = children.end() - 1;
        }
        it->levels.push_back(level);
    }
    std::stable_sort(children.begin(), children.end(), [](const Child& a, const Child& b) { return a.name < b.name; });
    return children;
}

std::string childName(const Child& child) { return child.name.empty() ? "(sin nombre)" : child.name; }

std::vector<size_t> settingsChanges(const std::vector<PlayedLevel>& levels)
{
    std::vector<size_t> changes;
    std::string known;
    for (size_t i = 0; i < levels.size(); ++i) {
        const std::string& settings = levels[i].measures.settings;
        if (settings.empty())
            continue;
        if (!known.empty() && settings != known)
            changes.push_back(i);
        known = settings;
    }
    return changes;
}

std::vector<std::string> mapsPlayed(const std::vector<PlayedLevel>& levels)
{
    std::vector<std::string> maps;
    for (const PlayedLevel& level : levels)
        if (std::find(maps.begin(), maps.end(), level.report->map) == maps.end())
            maps.push_back(level.report->map);
    return maps;
}

double dayOf(const Report& report) { return report.written ? static_cast<double>(*report.written) / 86400.0 : 0; }

namespace {
std::optional<double> valueIfFinite(double value) { return std::isfinite(value) ? std::optional<double>(value) : std::nullopt; }
}

const LevelFigure kLevelFigures[4] = {
    {"Nivel ganado", "Ganado", 0, true,
     [](const Measures& m) { return std::optional<double>(m.outcome == Outcome::Won ? 1 : 0); }},
    {"Pasos dados / camino más corto (1 es el camino justo)", "Pasos / camino más corto", 2, false,
     [](const Measures& m) { return valueIfFinite(m.ratio); }},
    {"Errores cada 10 pasos", "Errores cada 10 pasos", 2, false,
     [](const Measures& m) { return valueIfFinite(m.errorsPerTen); }},
    {"Tiempo de reacción en segundos (mediana, de un aviso a la tecla siguiente)", "Reacción (s)", 2, false,
     [](const Measures& m) { return m.reactionSeconds ? valueIfFinite(*m.reactionSeconds) : std::nullopt; }},
};
