#include "svg_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

const Look kUnread{"#d9d9d9", "", "sin leer: el juego no llegó a leer esta casilla"};

SquareLook toLook(const Look& look) { return {look.fill, look.label, look.title}; }

template <size_t N>
SquareLook lookIn(const Look (&table)[N], int32_t code)
{
    return toLook(code >= 0 && code < static_cast<int32_t>(N) ? table[code] : kUnknown);
}

// Relative luminance of "#rrggbb"; black for anything else.
double luminance(std::string_view colour)
{
    if (colour.size() != 7 || colour[0] != '#' || colour.find_first_not_of("0123456789abcdefABCDEF", 1) != colour.npos)
        return 0;
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = std::strtol(std::string(colour.substr(1 + 2 * i, 2)).c_str(), nullptr, 16) / 255.0;
        sum += weights[i] * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

std::string num(int v) { return std::to_string(v); }

std::string squareSample(const SquareLook& s)
{
    std::string svg = "<rect width=\"20\" height=\"20\" fill=\"" + std::string(s.fill) +
                      "\" stroke=\"#767676\" stroke-width=\"0.5\"/>";
    if (!s.label.empty())
        svg += "<text x=\"10\" y=\"10\" text-anchor=\"middle\" font-size=\"9\" fill=\"" + std::string(inkOn(s.fill)) +
               "\">" + htmlEscape(s.label) + "</text>";
    return svg;
}

// The legend's columns are as wide as its longest line: about 6.5 px a
// character at 11 px, after the sample.
int legendColumnPx(const std::vector<LegendEntry>& entries)
{
    size_t longest = 0;
    for (const LegendEntry& e : entries)
        longest = std::max(longest, static_cast<size_t>(std::count_if(e.text.begin(), e.text.end(), [](char ch) {
                                        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
                                    })));
    return 26 + static_cast<int>(longest) * 13 / 2 + 16;
}

int legendColumns(int width, const std::vector<LegendEntry>& entries)
{
    return std::max(1, (width - GridFrame::kMarginPx) / legendColumnPx(entries));
}

std::string legend(const GridFrame& frame, int width, const std::vector<LegendEntry>& entries)
{
    constexpr int kRowPx = 24;
    const int columns = legendColumns(width, entries), columnPx = legendColumnPx(entries);
    const int top = frame.height();
    std::string svg = "<g class=\"leyenda\" font-size=\"11\" fill=\"#000\">\n<text x=\"" + num(GridFrame::kMarginPx) +
                      "\" y=\"" + num(top + 4) + "\" font-weight=\"bold\">Leyenda</text>\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const int x = GridFrame::kMarginPx + static_cast<int>(i % columns) * columnPx;
        const int y = top + 16 + static_cast<int>(i / columns) * kRowPx;
        svg += "<g class=\"leyenda-entrada\" transform=\"translate(" + num(x) + "," + num(y) + ")\">" +
               entries[i].sample + "<text x=\"26\" y=\"10\" text-anchor=\"start\">" + htmlEscape(entries[i].text) +
               "</text></g>\n";
    }
    return svg + "</g>\n";
}

int legendHeight(int width, const std::vector<LegendEntry>& entries)
{
    const size_t columns = static_cast<size_t>(legendColumns(width, entries));
    return 24 + static_cast<int>((entries.size() + columns - 1) / columns) * 24;
}
}

SquareLook lookOfMapCode(int32_t code) { return lookIn(kMapLooks, code); }
SquareLook lookOfKind(int32_t kind) { return lookIn(kKindLooks, kind); }
SquareLook lookUnread() { return toLook(kUnread); }

double contrastRatio(const char* a, const char* b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const char* inkOn(const char* fill)
{
    return contrastRatio(fill, "#000000") >= contrastRatio(fill, "#ffffff") ? "#000000" : "#ffffff";
}

std::string haloOf(const char* fill)
{
    return " stroke=\"" + std::string(fill) + "\" stroke-width=\"3\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
}

GridFrame frameAround(const std::function<bool(int, int)>& wanted, int squarePx)
{
    GridFrame frame;
    frame.squarePx = squarePx;
    frame.top = frame.left = kGridSize;
    frame.bottom = frame.right = -1;
    for (int r = 0; r < kGridSize; ++r)
        for (int c = 0; c < kGridSize; ++c)
            if (wanted(r, c)) {
                frame.top = std::min(frame.top, r);
                frame.bottom = std::max(frame.bottom, r);
                frame.left = std::min(frame.left, c);
                frame.right = std::max(frame.right, c);
            }
    if (frame.bottom < 0) {
        frame.top = frame.left = 0;
        frame.bottom = frame.right = 4;
        return frame;
    }
    frame.top = std::max(0, frame.top - 1);
    frame.left = std::max(0, frame.left - 1);
    frame.bottom = std::min(kGridSize - 1, frame.bottom + 1);
    frame.right = std::min(kGridSize - 1, frame.right + 1);
    return frame;
}

std::string svgGrid(const GridFrame& frame, const std::function<SquareLook(int, int)>& look, const std::string& label,
                    const std::string& overlay, const std::vector<LegendEntry>& extra)
{
    const int px = frame.squarePx;
    const int fontPx = std::max(9, px * 10 / 32);
    // Room for every square at once: a maze is some hundred kilobytes, and
    // growing the text by doubling copies it over and over (the fuzzer
    // draws thousands of reports a second).
    std::string squares;
    squares.reserve(static_cast<size_t>(frame.bottom - frame.top + 1) * (frame.right - frame.left + 1) * 320);
    std::vector<LegendEntry> entries;
    std::vector<std::string> seen;
    for (int r = frame.top; r <= frame.bottom; ++r)
        for (int c = frame.left; c <= frame.right; ++c) {
            const SquareLook s = look(r, c);
            if (std::find(seen.begin(), seen.end(), s.title) == seen.end()) {
                seen.push_back(s.title);
                entries.push_back({squareSample(s), s.title});
            }
            const int x = frame.x(c) - px / 2, y = frame.y(r) - px / 2;
            squares += "<g class=\"casilla\"><title>fila " + num(r + 1) + ", columna " + num(c + 1) + ": " +
                       htmlEscape(s.title) + "</title><rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" +
                       num(px) + "\" height=\"" + num(px) + "\" fill=\"" + s.fill +
                       "\" stroke=\"#767676\" stroke-width=\"0.5\"/>";
            if (!s.label.empty())
                squares += "<text x=\"" + num(frame.x(c)) + "\" y=\"" +
                           num(frame.labelsHigh ? frame.y(r) - px * 5 / 16 : frame.y(r)) + "\" font-size=\"" +
                           num(fontPx) + "\" fill=\"" + inkOn(s.fill) + "\"" + haloOf(s.fill) + ">" +
                           htmlEscape(s.label) + "</text>";
            squares += "</g>\n";
        }
    entries.insert(entries.end(), extra.begin(), extra.end());

    // Wide enough for two columns of the legend under a small maze.
    const int width = std::max(frame.width(), GridFrame::kMarginPx + 2 * legendColumnPx(entries));
    const int height = frame.height() + legendHeight(width, entries);
    const std::string w = num(width), h = num(height);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"mapa\" width=\"" + w + "\" height=\"" + h +
                      "\" viewBox=\"0 0 " + w + " " + h + "\" role=\"img\" aria-label=\"" + htmlEscape(label) +
                      "\">\n<title>" + htmlEscape(label) + "</title>\n<rect class=\"fondo\" width=\"" + w +
                      "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n" +
                      "<g font-family=\"sans-serif\" font-size=\"9\" text-anchor=\"middle\" "
                      "dominant-baseline=\"central\">\n";
    for (int c = frame.left; c <= frame.right; ++c)
        svg += "<text class=\"numero\" x=\"" + num(frame.x(c)) + "\" y=\"" + num(GridFrame::kMarginPx / 2) + "\">" +
               num(c + 1) + "</text>";
    for (int r = frame.top; r <= frame.bottom; ++r)
        svg += "<text class=\"numero\" x=\"" + num(GridFrame::kMarginPx / 2) + "\" y=\"" + num(frame.y(r)) + "\">" +
               num(r + 1) + "</text>";
    const std::string legendText = legend(frame, width, entries);
    svg.reserve(svg.size() + squares.size() + overlay.size() + legendText.size() + 256);
    svg += "\n";
    svg += squares;
    svg += "</g>\n<g font-family=\"sans-serif\" font-size=\"9\" text-anchor=\"middle\" "
           "dominant-baseline=\"central\">\n";
    svg += overlay;
    svg += "</g>\n<g font-family=\"sans-serif\" dominant-baseline=\"central\">\n";
    svg += legendText;
    svg += "</g>\n</svg>\n";
    return svg;
}

std::string svgGrid(const std::function<SquareLook(int, int)>& look, const std::string& label,
                    const std::string& overlay)
{
    return svgGrid(GridFrame{}, look, label, overlay, {});
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
