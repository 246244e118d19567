#include "timeline_html.h"

#include "page_style.h"
#include "text.h"

namespace {
// Every text colour here and in the charts is 4.5:1 or more on white. A child's
// summary, the charts two by two, fits one A4 page; the level-by-level detail
// is for the screen.
const char* const kTimelineStyle =
    "nav{margin-bottom:.5em}.graficos{display:flex;flex-wrap:wrap;gap:1em}"
    "figure.grafico{margin:0;max-width:460px}svg.grafico{max-width:100%;height:auto}"
    "figure.grafico h3{font-size:1em;margin:.5em 0 .2em}figcaption{font-size:.85em;color:#444}.leyenda-grafico{list-style:none;padding:0;margin:.2em 0;font-size:.85em}"
    ".leyenda-grafico li{display:inline-block;margin-right:1em}"
    "@page{size:A4;margin:12mm}"
    "@media print{body{margin:0;max-width:none;font-size:8pt;color:#000}nav,.detalle{display:none}"
    "h1{font-size:14pt;margin:0 0 2mm}h2{font-size:10.5pt;margin:3mm 0 1mm}p,ul{margin:1mm 0}"
    "table{font-size:7.5pt;margin:1mm 0}.graficos{display:grid;grid-template-columns:1fr 1fr;gap:2mm 5mm}"
    "figure.grafico{max-width:none;break-inside:avoid}svg.grafico{width:100%}figcaption{font-size:6.5pt}figure.grafico h3{font-size:8.5pt;margin:1mm 0}"
    ".leyenda-grafico{font-size:7pt;margin:0}a{color:#000;text-decoration:none}}";
}

std::string timelinePageStart(const std::string& title)
{
    return "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + htmlEscape(title) +
           "</title>\n<style>" + kPageStyle + kTimelineStyle + "</style>\n</head>\n<body>\n";
}

std::string timelineNav()
{
    return "<nav><a href=\"index.html\">Todos los informes</a> · <a href=\"clase.html\">La clase, mapa por "
           "mapa</a></nav>\n";
}

std::string textCell(const std::string& html) { return "<td>" + html + "</td>"; }

std::string numberCell(const std::optional<double>& value, int digits)
{
    return "<td class=\"n\">" + (value ? fixed(*value, digits) : std::string("—")) + "</td>";
}

std::string headerCell(const std::string& text) { return "<th scope=\"col\">" + htmlEscape(text) + "</th>"; }

std::string filterNote(const std::string& described)
{
    return described.empty() ? "" : "<p class=\"nota\">Solo los informes con " + htmlEscape(described) + ".</p>\n";
}
