#include "svg_grid.h"

#include <string_view>

#include "text.h"

namespace {
struct Look {
    const char* fill;
    const char* label;
    const char* title;
};

const Look kWall{"#3b3b3b", "", "pared"};
const Look kCorridor{"#ffffff", "", "pasillo"};
const Look kStart{"#6fa8dc", "I", "casilla de inicio"};
const Look kExit{"#6aa84f", "S", "salida"};
const Look kUnknown{"#ff00ff", "?", "código desconocido"};

// Map codes 0..12.
const Look kMapLooks[] = {
    kWall, kStart, {"#d9d2e9", "?", "casilla al azar"}, kCorridor,
    {"#f6b26b", "P\u2191", "puerta al centro"}, {"#f6b26b", "P\u2190", "puerta a la izquierda"},
    {"#f6b26b", "P\u2192", "puerta a la derecha"}, {"#b6d7a8", "S?", "salida o trampa (1 de cada 5)"},
    kExit, {"#fff2cc", "B", "balas"}, {"#ea9999", "M", "monstruo"}, {"#e06666", "U", "mutante"},
    {"#cc0000", "G", "super monstruo"},
};

// Kinds 0..19, as a level start leaves them.
const Look kKindLooks[] = {
    kWall, kStart, kCorridor, {"#f6b26b", "P\u2191", "puerta al centro"},
    {"#f6b26b", "P\u2190", "puerta a la izquierda"}, {"#f6b26b", "P\u2192", "puerta a la derecha"}, kExit,
    {"#fff2cc", "B\u2190", "balas a la izquierda"}, {"#fff2cc", "B\u2191", "balas al centro"},
    {"#fff2cc", "B\u2192", "balas a la derecha"}, {"#ea9999", "M\u2190", "monstruo a la izquierda"},
    {"#ea9999", "M\u2191", "monstruo al centro"}, {"#ea9999", "M\u2192", "monstruo a la derecha"},
    {"#e06666", "U\u2190", "mutante a la izquierda"}, {"#e06666", "U\u2191", "mutante al centro"},
    {"#e06666", "U\u2192", "mutante a la derecha"}, {"#cc0000", "G\u2190", "super monstruo a la izquierda"},
    {"#cc0000", "G\u2191", "super monstruo al centro"}, {"#cc0000", "G\u2192", "super monstruo a la derecha"},
    {"#e69138", "T", "trampa"},
};

SquareLook toLook(const Look& look) { return {look.fill, look.label, look.title}; }

// Labels in white on the dark squares, in black on the others.
const char* inkOn(const char* fill)
{
    return std::string_view(fill) == kWall.fill || std::string_view(fill) == "#cc0000" ? "#ffffff" : "#000000";
}

template <size_t N>
SquareLook lookIn(const Look (&table)[N], int32_t code)
{
    return toLook(code >= 0 && code < static_cast<int32_t>(N) ? table[code] : kUnknown);
}
}

SquareLook lookOfMapCode(int32_t code) { return lookIn(kMapLooks, code); }
SquareLook lookOfKind(int32_t kind) { return lookIn(kKindLooks, kind); }

std::string svgGrid(const std::function<SquareLook(int, int)>& look, const std::string& label,
                    const std::string& overlay)
{
    const int size = 2 * kMarginPx + kGridSize * kSquarePx;
    const std::string side = std::to_string(size);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"mapa\" width=\"" + side + "\" height=\"" +
                      side + "\" viewBox=\"0 0 " + side + " " + side + "\" role=\"img\" aria-label=\"" +
                      htmlEscape(label) + "\">\n<title>" + htmlEscape(label) + "</title>\n" +
                      "<g font-family=\"sans-serif\" font-size=\"9\" text-anchor=\"middle\" "
                      "dominant-baseline=\"central\">\n";
    for (int i = 0; i < kGridSize; ++i) {
        const std::string n = std::to_string(i + 1);
        svg += "<text x=\"" + std::to_string(squareX(i)) + "\" y=\"" + std::to_string(kMarginPx / 2) + "\">" + n +
               "</text><text x=\"" + std::to_string(kMarginPx / 2) + "\" y=\"" + std::to_string(squareY(i)) +
               "\">" + n + "</text>\n";
    }
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c) {
            const SquareLook s = look(r, c);
            const int x = squareX(c) - kSquarePx / 2, y = squareY(r) - kSquarePx / 2;
            svg += "<g class=\"casilla\"><title>fila " + std::to_string(r + 1) + ", columna " +
                   std::to_string(c + 1) + ": " + htmlEscape(s.title) + "</title><rect x=\"" + std::to_string(x) +
                   "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(kSquarePx) + "\" height=\"" +
                   std::to_string(kSquarePx) + "\" fill=\"" + s.fill + "\" stroke=\"#999\" stroke-width=\"0.5\"/>";
            if (!s.label.empty())
                svg += "<text x=\"" + std::to_string(squareX(c)) + "\" y=\"" + std::to_string(squareY(r)) +
                       "\" fill=\"" + inkOn(s.fill) + "\">" + htmlEscape(s.label) + "</text>";
            svg += "</g>\n";
        }
    svg += "</g>\n" + overlay + "</svg>\n";
    return svg;
}

std::string htmlLegend(bool kinds)
{
    std::string html = "<ul class=\"leyenda\">\n";
    auto item = [&](const Look& look) {
        html += "<li><span class=\"muestra\" style=\"background:" + std::string(look.fill) + ";color:" +
                inkOn(look.fill) + "\">" + (*look.label ? htmlEscape(look.label) : "&nbsp;") + "</span> " +
                htmlEscape(look.title) + "</li>\n";
    };
    if (kinds)
        for (const Look& look : kKindLooks)
            item(look);
    else
        for (const Look& look : kMapLooks)
            item(look);
    return html + "</ul>\n";
}
