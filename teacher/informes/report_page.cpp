#include "report_page.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "counter_names.h"
#include "map_route.h"
#include "page_style.h"
#include "report_measures.h"
#include "route_overlay.h"
#include "summary_csv.h"
#include "svg_grid.h"
#include "text.h"

namespace {
// A line of a table of figures: its label and its value.
void appendRow(std::string& html, std::string_view label, std::string_view value, bool number = true)
{
    html += "<tr><th scope=\"row\">";
    appendEscaped(html, label);
    html += number ? "</th><td class=\"n\">" : "</th><td>";
    appendEscaped(html, value);
    html += "</td></tr>\n";
}

std::string title(const Report& r)
{
    const std::string when = localDate(r).empty() ? "" : ", " + localDate(r) + " " + localTime(r);
    return "Informe de " + r.player + ": " + r.map + when;
}

constexpr const char* kPathColour = "#1155cc";
constexpr const char* kShotColour = "#b00000";
constexpr const char* kBumpColour = "#7a3d00";

std::string num(int v) { return std::to_string(v); }

bool onGrid(int row, int col) { return row >= 0 && row < kGridSize && col >= 0 && col < kGridSize; }

// The level's maze with the path walked and every marked square in view.
GridFrame reportFrame(const Report& r, const ErrorPlaces& errors)
{
    bool wanted[kGridSize][kGridSize]{};
    for (int row = 0; row < kGridSize; ++row)
        for (int col = 0; col < kGridSize; ++col)
            wanted[row][col] = r.kinds[row][col] != CellKind::Wall;
    for (const ReportStep& step : r.path)
        if (onGrid(step.row, step.col))
            wanted[step.row][step.col] = true;
    for (const auto* marks : {&errors.missedShots, &errors.doorBumps})
        for (const auto& [square, count] : *marks)
            if (onGrid(square.first, square.second))
                wanted[square.first][square.second] = true;
    GridFrame frame = frameAround([&](int row, int col) { return wanted[row][col]; }, 36);
    frame.labelsHigh = true;
    return frame;
}

// A white badge in the middle band of a square holding its marks side by
// side, in one text so they never overlap, its type shrunk until the badge
// fits the square.
void appendBadge(std::string& svg, const GridFrame& frame, int row, int col, int shots, int bumps)
{
    std::string parts, title;
    int chars = 0;
    auto part = [&](int count, const char* cls, const char* symbol, const char* colour, const char* what) {
        if (count <= 0)
            return;
        if (chars > 0) {
            parts += " ";
            title += ", ";
            ++chars;
        }
        chars += 1 + static_cast<int>(num(count).size());
        appendAll(parts, "<tspan class=\"marca ", cls, "\" data-veces=\"", count, "\" fill=\"", colour, "\">", symbol,
                  count, "</tspan>");
        appendAll(title, count, " ", what);
    };
    part(shots, "disparo-errado", "\u00d7", kShotColour, "disparo(s) errado(s)");
    part(bumps, "choque-puerta", "!", kBumpColour, "choque(s) contra la puerta");
    const int room = frame.squarePx - 4;
    const int fontPx = std::clamp(room * 10 / (6 * chars), 5, 9);
    const int width = std::min(room + 2, (chars * fontPx * 6 + 9) / 10 + 4);
    const int x = frame.x(col), y = frame.y(row);
    appendAll(svg, "<g class=\"marcas\"><title>fila ", row + 1, ", columna ", col + 1, ": ", title,
              "</title><rect class=\"marcas\" x=\"", x - width / 2, "\" y=\"", y - 5, "\" width=\"", width,
              "\" height=\"10\" fill=\"#ffffff\" stroke=\"#767676\" stroke-width=\"0.5\"/><text x=\"", x, "\" y=\"", y,
              "\" font-size=\"", fontPx, "\" font-weight=\"bold\">", parts, "</text></g>\n");
}

// The numbers of the steps that came to a square, in the lower band of it.
void appendVisits(std::string& svg, const GridFrame& frame, int32_t kind, std::pair<int, int> square,
                  const std::vector<int>& steps)
{
    std::string all;
    for (int step : steps) {
        if (!all.empty())
            all += ',';
        appendNumber(all, step);
    }
    // About 5.4 px a digit at 9 px; a square visited often shows its
    // first step and says there are more.
    const std::string shown =
        static_cast<int>(all.size()) * 54 / 10 <= frame.squarePx - 4 ? all : num(steps.front()) + "\u2026";
    const char* fill = lookOfKind(kind).fill;
    appendAll(svg, "<text class=\"pasos\" x=\"", frame.x(square.second), "\" y=\"",
              frame.y(square.first) + frame.squarePx * 11 / 36, "\" fill=\"", inkOn(fill), "\"");
    appendHalo(svg, fill);
    appendAll(svg, "><title>pasos ", all, "</title>", shown, "</text>\n");
}

// The path walked: a line with a dot on every step, the numbers of the steps
// in the lower band of their squares, and the errors placed on their squares
// in the middle band; what stood on a square stays in sight above.
void appendOverlay(std::string& svg, const GridFrame& frame, const Report& r, const ErrorPlaces& errors)
{
    const StartSquare start = findStart(r.kinds);
    std::vector<GridPoint> points;
    if (start.row >= 0)
        points.push_back({start.row, start.col});
    std::map<std::pair<int, int>, std::vector<int>> visits;
    for (size_t i = 0; i < r.path.size(); ++i) {
        points.push_back({r.path[i].row, r.path[i].col});
        visits[{r.path[i].row, r.path[i].col}].push_back(static_cast<int>(i + 1));
    }
    svg += svgPolyline(frame, points, "recorrido", kPathColour, false);
    for (size_t i = 0; i < r.path.size(); ++i) {
        const ReportStep& s = r.path[i];
        const long n = static_cast<long>(i + 1);
        appendAll(svg, "<g class=\"paso\" data-paso=\"", n, "\"><title>paso ", n, ": fila ", s.row + 1, ", columna ",
                  s.col + 1, "</title><circle cx=\"", frame.x(s.col), "\" cy=\"", frame.y(s.row), "\" r=\"2.5\" fill=\"",
                  kPathColour, "\"/></g>\n");
    }
    for (const auto& [square, steps] : visits)
        if (onGrid(square.first, square.second))
            appendVisits(svg, frame, r.kinds[square.first][square.second], square, steps);
    std::map<std::pair<int, int>, std::pair<int, int>> marked;
    for (const auto& [square, count] : errors.missedShots)
        marked[square].first = count;
    for (const auto& [square, count] : errors.doorBumps)
        marked[square].second = count;
    for (const auto& [square, counts] : marked)
        if (onGrid(square.first, square.second))
            appendBadge(svg, frame, square.first, square.second, counts.first, counts.second);
}

// The rows of the two long tables, a line of the report each, appended in
// place: a report may hold thousands.
void appendSeconds(std::string& html, Tick first, Tick tick)
{
    appendAll(html, "<td class=\"n\">", fixed(static_cast<uint32_t>(tick - first) / 1000.0, 1), "</td>");
}

void appendSentenceRows(std::string& html, const Report& r)
{
    const Tick first = firstTick(r);
    for (const ReportSentence& s : r.sentences) {
        html += "<tr>";
        appendSeconds(html, first, s.tick);
        html += "<td>";
        appendEscaped(html, s.text);
        html += "</td></tr>\n";
    }
}

void appendStepRows(std::string& html, const Report& r)
{
    const Tick first = firstTick(r);
    for (size_t i = 0; i < r.path.size(); ++i) {
        appendAll(html, "<tr><td class=\"n\">", static_cast<long>(i + 1), "</td><td class=\"n\">", r.path[i].row + 1,
                  "</td><td class=\"n\">", r.path[i].col + 1, "</td>");
        appendSeconds(html, first, r.path[i].tick);
        html += "</tr>\n";
    }
}

std::vector<LegendEntry> overlayLegend()
{
    auto mark = [](const char* symbol, const char* colour) {
        return std::string("<rect x=\"2\" y=\"5\" width=\"16\" height=\"10\" fill=\"#ffffff\" stroke=\"#767676\" "
                           "stroke-width=\"0.5\"/><text x=\"10\" y=\"10\" text-anchor=\"middle\" font-size=\"9\" "
                           "font-weight=\"bold\" fill=\"") + colour + "\">" + symbol + "</text>";
    };
    return {
        {polylineSample(kPathColour, false) + "<circle cx=\"10\" cy=\"10\" r=\"2.5\" fill=\"" + kPathColour + "\"/>",
         "recorrido del jugador, un punto por paso"},
        {"<text x=\"10\" y=\"10\" text-anchor=\"middle\" font-size=\"9\" fill=\"#000\">3,7</text>",
         "pasos en que llegó a la casilla (… más veces)"},
        {mark("\u00d7n", kShotColour), "n disparos errados en la casilla"},
        {mark("!n", kBumpColour), "n choques contra la puerta"},
    };
}
}

std::string pageName(const std::string& reportFile)
{
    const size_t slash = reportFile.find_last_of('/');
    std::string name = slash == std::string::npos ? reportFile : reportFile.substr(slash + 1);
    const std::string suffix = report_format::kFileSuffix;
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '.' && ch != '-' && ch != '_')
            ch = '_';
    return name + ".html";
}

namespace {
// The head of the page and its summary.
std::string pageTop(const Report& r, const Measures& m)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    appendEscaped(html, title(r));
    appendAll(html, "</title>\n<style>", kPageStyle, "</style>\n</head>\n<body>\n",
              "<p><a href=\"index.html\">Todos los informes</a></p>\n<h1>");
    appendEscaped(html, title(r));
    html += "</h1>\n<table>\n<caption>Resumen</caption>\n";
    appendRow(html, "Jugador", r.player, false);
    appendRow(html, "Mapa", r.map, false);
    appendRow(html, "Fecha y hora", localDate(r) + " " + localTime(r), false);
    appendRow(html, "Resultado", outcomeText(m.outcome), false);
    appendRow(html, "Juego exitoso (llegó a la salida o a la trampa)", r.reachedEnd ? "Sí" : "No", false);
    appendRow(html, "Archivo", utf8FromGameText(r.file), false);
    html += "</table>\n<table>\n<caption>Contadores del informe</caption>\n";
    for (int i = 0; i < kCounterCount; ++i)
        appendRow(html, counterLabel(static_cast<Counter>(i)), std::to_string(r.counters[i]));
    html += "</table>\n";
    return html;
}

// The table of what the report's figures mean for the child's play.
void appendMeasures(std::string& html, const Measures& m)
{
    html += "<table>\n<caption>Medidas</caption>\n";
    appendRow(html, "Camino más corto del inicio a la salida (pasos)",
              m.shortest ? std::to_string(*m.shortest) : "sin camino");
    if (m.outcome == Outcome::Won) {
        appendRow(html, "Pasos dados / camino más corto", fixed(m.ratio, 2));
    } else {
        appendRow(html, "Parte del camino más corto que alcanzó", fixed(m.routeCovered, 2));
        appendRow(html, "Pasos del camino que le faltaban", m.stepsLeft ? std::to_string(*m.stepsLeft) : "");
    }
    appendRow(html, "Tiempo de reacción a los anuncios, mediana (s)",
              m.reactionSeconds ? fixed(*m.reactionSeconds, 2) : "sin anuncios respondidos");
    appendRow(html, "Anuncios respondidos", std::to_string(m.reactionCount));
    appendRow(html, "Disparos al lado equivocado", std::to_string(m.wrongSideShots));
    appendRow(html, "Tiempo medio entre pasos (s)", fixed(m.meanGap, 2));
    appendRow(html, "Ajustes del docente", m.settings.empty() ? "desconocidos" : m.settings, false);
    appendRow(html, "Errores (disparos errados, pasos en falso, pasos con monstruo, choques con la puerta)",
              std::to_string(m.errors));
    appendRow(html, "Errores cada 10 pasos", fixed(m.errorsPerTen, 2));
    html += "</table>\n";
}

// The drawing of the path with the note that says how to read it.
void appendPathDrawing(std::string& html, const Report& r)
{
    const ErrorPlaces errors = placeErrors(r);
    html += "<h2>Recorrido</h2>\n<p class=\"nota\">La línea azul es el recorrido, con un punto en cada paso; "
            "bajo cada casilla, los pasos en que llegó a ella; \u00d7n marca n disparos errados en esa casilla "
            "y !n choques contra la puerta. El informe no guarda "
            "dónde fueron los pasos en falso contra la pared, solo cuántos.";
    if (errors.missedShotsPlaced != r.counters[MissedShots])
        html += " Se ubicaron " + std::to_string(errors.missedShotsPlaced) + " de los " +
                std::to_string(r.counters[MissedShots]) + " disparos errados (los mensajes no alcanzan para el resto).";
    if (r.counters[DoorBumps] > 0 && errors.doorBumps.empty())
        html += " Los choques contra la puerta no se pueden ubicar: el camino pasó por varias puertas al centro.";
    html += "</p>\n";
    const GridFrame frame = reportFrame(r, errors);
    appendSvgGrid(html, frame, [&](int row, int col) { return lookOfKind(r.kinds[row][col]); },
                  "Cuadrícula del nivel con el recorrido de " + std::to_string(r.path.size()) + " pasos",
                  [&](std::string& svg) { appendOverlay(svg, frame, r, errors); }, overlayLegend());
}
}

std::string reportPage(const Report& r)
{
    std::string html;
    appendReportPage(html, r);
    return html;
}

void appendReportPage(std::string& html, const Report& r)
{
    const Measures m = measure(r);
    html += pageTop(r, m);
    appendMeasures(html, m);
    appendPathDrawing(html, r);
    // Room for a line of each table at once, rather than copying the page
    // each time it outgrows itself.
    html.reserve(html.size() + (r.sentences.size() + r.path.size()) * 256 + 1024);
    html += "<h2>Mensajes</h2>\n<div class=\"columnas\"><table>\n<thead><tr><th scope=\"col\">Segundos desde el comienzo</th>"
            "<th scope=\"col\">Mensaje</th></tr></thead>\n<tbody>\n";
    appendSentenceRows(html, r);
    html += "</tbody>\n</table></div>\n<h2>Camino paso a paso</h2>\n<div class=\"columnas estrechas\">"
            "<table class=\"camino\">\n<thead><tr>"
            "<th scope=\"col\">Paso</th><th scope=\"col\">Fila</th><th scope=\"col\">Columna</th>"
            "<th scope=\"col\">Segundos desde el comienzo</th></tr></thead>\n<tbody>\n";
    appendStepRows(html, r);
    html += "</tbody>\n</table></div>\n</body>\n</html>\n";
}
