#include "report_page.h"

#include <cctype>

#include "map_route.h"
#include "page_style.h"
#include "report_measures.h"
#include "route_overlay.h"
#include "summary_csv.h"
#include "svg_grid.h"
#include "text.h"

namespace {
std::string cell(const std::string& text, bool number = false)
{
    return std::string(number ? "<td class=\"n\">" : "<td>") + text + "</td>";
}

std::string row(const std::string& label, const std::string& value, bool number = true)
{
    return "<tr><th scope=\"row\">" + htmlEscape(label) + "</th>" + cell(htmlEscape(value), number) + "</tr>\n";
}

std::string title(const Report& r)
{
    const std::string when = localDate(r).empty() ? "" : ", " + localDate(r) + " " + localTime(r);
    return "Informe de " + r.player + ": " + r.map + when;
}

std::string xy(int row, int col, int dx = 0, int dy = 0)
{
    return "x=\"" + std::to_string(squareX(col) + dx) + "\" y=\"" + std::to_string(squareY(row) + dy) + "\"";
}

// The path walked, numbered, and the errors placed on their squares.
std::string overlay(const Report& r, const ErrorPlaces& errors)
{
    const StartSquare start = findStart(r.kinds);
    std::vector<GridPoint> points;
    if (start.row >= 0)
        points.push_back({start.row, start.col});
    for (const ReportStep& step : r.path)
        points.push_back({step.row, step.col});
    std::string svg = svgPolyline(points, "recorrido", "#1155cc", false);
    svg += "<g font-family=\"sans-serif\" font-size=\"8\" text-anchor=\"middle\" dominant-baseline=\"central\">\n";
    for (size_t i = 0; i < r.path.size(); ++i) {
        const ReportStep& s = r.path[i];
        const std::string n = std::to_string(i + 1);
        svg += "<g class=\"paso\" data-paso=\"" + n + "\"><title>paso " + n + ": fila " + std::to_string(s.row + 1) +
               ", columna " + std::to_string(s.col + 1) + "</title><circle cx=\"" + std::to_string(squareX(s.col)) +
               "\" cy=\"" + std::to_string(squareY(s.row)) + "\" r=\"7\" fill=\"#1155cc\" fill-opacity=\"0.85\"/>"
               "<text " + xy(s.row, s.col) + " fill=\"#fff\">" + n + "</text></g>\n";
    }
    auto marks = [&](const std::map<std::pair<int, int>, int>& where, const char* cls, const char* symbol,
                     const char* colour, int dx, const char* what) {
        for (const auto& [square, count] : where)
            svg += "<g class=\"marca " + std::string(cls) + "\" data-veces=\"" + std::to_string(count) + "\"><title>" +
                   std::to_string(count) + " " + what + "</title><text " + xy(square.first, square.second, dx, -7) +
                   " font-size=\"11\" font-weight=\"bold\" fill=\"" + colour + "\">" + symbol +
                   std::to_string(count) + "</text></g>\n";
    };
    marks(errors.missedShots, "disparo-errado", "\u00d7", "#cc0000", 6, "disparo(s) errado(s)");
    marks(errors.doorBumps, "choque-puerta", "!", "#b45f06", -6, "choque(s) contra la puerta");
    return svg + "</g>\n";
}
}

std::string pageName(const std::string& reportFile)
{
    const size_t slash = reportFile.find_last_of('/');
    std::string name = slash == std::string::npos ? reportFile : reportFile.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".db1") == 0)
        name.resize(name.size() - 4);
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '.' && ch != '-' && ch != '_')
            ch = '_';
    return name + ".html";
}

std::string reportPage(const Report& r)
{
    const Measures m = measure(r);
    const ErrorPlaces errors = placeErrors(r);
    std::string html = "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                       htmlEscape(title(r)) + "</title>\n<style>" + kPageStyle + "</style>\n</head>\n<body>\n";
    html += "<p><a href=\"index.html\">Todos los informes</a></p>\n<h1>" + htmlEscape(title(r)) + "</h1>\n";
    html += "<table>\n<caption>Resumen</caption>\n" + row("Jugador", r.player, false) + row("Mapa", r.map, false) +
            row("Fecha y hora", localDate(r) + " " + localTime(r), false) +
            row("Resultado", outcomeText(m.outcome), false) +
            row("Juego exitoso (llegó a la salida o a la trampa)", r.reachedEnd ? "Sí" : "No", false) +
            row("Archivo", utf8FromGameText(r.file), false) + "</table>\n";

    html += "<table>\n<caption>Contadores del informe</caption>\n";
    for (int i = 0; i < kCounterCount; ++i)
        html += row(counterLabel(static_cast<Counter>(i)), std::to_string(r.counters[i]));
    html += "</table>\n<table>\n<caption>Medidas</caption>\n" +
            row("Camino más corto del inicio a la salida (pasos)", m.shortest ? std::to_string(*m.shortest) : "sin camino") +
            row("Pasos dados / camino más corto", fixed(m.ratio, 2)) +
            row("Tiempo medio entre pasos (s)", fixed(m.meanGap, 2)) +
            row("Tiempo más largo entre pasos (s)", fixed(m.longestGap, 2)) +
            row("Errores (disparos errados, pasos en falso, pasos con monstruo, choques con la puerta)",
                std::to_string(m.errors)) +
            row("Errores cada 10 pasos", fixed(m.errorsPerTen, 2)) + "</table>\n";

    html += "<h2>Recorrido</h2>\n<p class=\"nota\">Los círculos azules numerados son los pasos en orden; "
            "\u00d7n marca n disparos errados en esa casilla y !n choques contra la puerta. El informe no guarda "
            "dónde fueron los pasos en falso contra la pared, solo cuántos.";
    if (errors.missedShotsPlaced != r.counters[MissedShots])
        html += " Se ubicaron " + std::to_string(errors.missedShotsPlaced) + " de los " +
                std::to_string(r.counters[MissedShots]) + " disparos errados (los mensajes no alcanzan para el resto).";
    if (r.counters[DoorBumps] > 0 && errors.doorBumps.empty())
        html += " Los choques contra la puerta no se pueden ubicar: el camino pasó por varias puertas al centro.";
    html += "</p>\n";
    html += svgGrid([&](int row, int col) { return lookOfKind(r.kinds[row][col]); },
                    "Cuadrícula del nivel con el recorrido de " + std::to_string(r.path.size()) + " pasos",
                    overlay(r, errors));
    html += htmlLegend(true);

    html += "<h2>Mensajes</h2>\n<table>\n<thead><tr><th scope=\"col\">Segundos desde el comienzo</th>"
            "<th scope=\"col\">Mensaje</th></tr></thead>\n<tbody>\n";
    const Tick first = firstTick(r);
    for (const ReportSentence& s : r.sentences)
        html += "<tr>" + cell(fixed(static_cast<uint32_t>(s.tick - first) / 1000.0, 1), true) +
                cell(htmlEscape(s.text)) + "</tr>\n";
    html += "</tbody>\n</table>\n<h2>Camino paso a paso</h2>\n<table class=\"camino\">\n<thead><tr>"
            "<th scope=\"col\">Paso</th><th scope=\"col\">Fila</th><th scope=\"col\">Columna</th>"
            "<th scope=\"col\">Segundos desde el comienzo</th></tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < r.path.size(); ++i)
        html += "<tr>" + cell(std::to_string(i + 1), true) + cell(std::to_string(r.path[i].row + 1), true) +
                cell(std::to_string(r.path[i].col + 1), true) +
                cell(fixed(static_cast<uint32_t>(r.path[i].tick - first) / 1000.0, 1), true) + "</tr>\n";
    return html + "</tbody>\n</table>\n</body>\n</html>\n";
}
