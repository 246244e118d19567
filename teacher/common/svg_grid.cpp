#include "svg_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
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

int hexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// The linear light of each 8-bit channel value, worked out once: the ink of
// every labelled square is chosen by it.
const std::array<double, 256>& linearLevels()
{
    static const std::array<double, 256> levels = [] {
        std::array<double, 256> table{};
        for (size_t i = 0; i < table.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            table[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return levels;
}

// Relative luminance of "#rrggbb"; black for anything else.
double luminance(std::string_view colour)
{
    if (colour.size() != 7 || colour[0] != '#')
        return 0;
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(colour[1 + 2 * i]), low = hexDigit(colour[2 + 2 * i]);
        if (high < 0 || low < 0)
            return 0;
        sum += weights[i] * linearLevels()[static_cast<size_t>(high * 16 + low)];
    }
    return sum;
}

std::string squareSample(const SquareLook& s)
{
    std::string svg;
    appendAll(svg, "<rect width=\"20\" height=\"20\" fill=\"", s.fill, "\" stroke=\"#767676\" stroke-width=\"0.5\"/>");
    if (*s.label) {
        appendAll(svg, "<text x=\"10\" y=\"10\" text-anchor=\"middle\" font-size=\"9\" fill=\"", inkOn(s.fill), "\">");
        appendEscaped(svg, s.label);
        svg += "</text>";
    }
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

// The legend, appended where it goes rather than made apart and copied.
void appendLegend(std::string& svg, const GridFrame& frame, int width, const std::vector<LegendEntry>& entries)
{
    constexpr int kRowPx = 24;
    const int columns = legendColumns(width, entries), columnPx = legendColumnPx(entries);
    const int top = frame.height();
    appendAll(svg, "<g class=\"leyenda\" font-size=\"11\" fill=\"#000\">\n<text x=\"", GridFrame::kMarginPx, "\" y=\"",
              top + 4, "\" font-weight=\"bold\">Leyenda</text>\n");
    for (size_t i = 0; i < entries.size(); ++i) {
        const int x = GridFrame::kMarginPx + static_cast<int>(i % columns) * columnPx;
        const int y = top + 16 + static_cast<int>(i / columns) * kRowPx;
        appendAll(svg, "<g class=\"leyenda-entrada\" transform=\"translate(", x, ",", y, ")\">", entries[i].sample,
                  "<text x=\"26\" y=\"10\" text-anchor=\"start\">");
        appendEscaped(svg, entries[i].text);
        svg += "</text></g>\n";
    }
    svg += "</g>\n";
}

// One square: its fill, its label over it, and its place and meaning for a
// pointer or a screen reader.
void appendSquare(std::string& out, const GridFrame& frame, int r, int c, const SquareLook& s)
{
    const int px = frame.squarePx;
    appendAll(out, "<g class=\"casilla\"><title>fila ", r + 1, ", columna ", c + 1, ": ");
    appendEscaped(out, s.title);
    appendAll(out, "</title><rect x=\"", frame.x(c) - px / 2, "\" y=\"", frame.y(r) - px / 2, "\" width=\"", px,
              "\" height=\"", px, "\" fill=\"", s.fill, "\" stroke=\"#767676\" stroke-width=\"0.5\"/>");
    if (*s.label) {
        appendAll(out, "<text x=\"", frame.x(c), "\" y=\"", frame.labelsHigh ? frame.y(r) - px * 5 / 16 : frame.y(r),
                  "\" font-size=\"", std::max(9, px * 10 / 32), "\" fill=\"", inkOn(s.fill), "\"");
        appendHalo(out, s.fill);
        out += ">";
        appendEscaped(out, s.label);
        out += "</text>";
    }
    out += "</g>\n";
}

// The legend's lines: a sample of every look the squares show, in the order
// they first appear, then extra.
std::vector<LegendEntry> legendEntries(const GridFrame& frame, const std::function<SquareLook(int, int)>& look,
                                       const std::vector<LegendEntry>& extra)
{
    std::vector<LegendEntry> entries;
    std::vector<std::string_view> seen;
    for (int r = frame.top; r <= frame.bottom; ++r)
        for (int c = frame.left; c <= frame.right; ++c) {
            const SquareLook s = look(r, c);
            if (std::find(seen.begin(), seen.end(), s.title) == seen.end()) {
                seen.push_back(s.title);
                entries.push_back({squareSample(s), s.title});
            }
        }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
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
    std::string halo;
    appendHalo(halo, fill);
    return halo;
}

void appendHalo(std::string& out, const char* fill)
{
    appendAll(out, " stroke=\"", fill, "\" stroke-width=\"3\" stroke-linejoin=\"round\" paint-order=\"stroke\"");
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

void appendSvgGrid(std::string& out, const GridFrame& frame, const std::function<SquareLook(int, int)>& look,
                   const std::string& label, const std::function<void(std::string&)>& overlay,
                   const std::vector<LegendEntry>& extra)
{
    // The legend shows every look drawn, and sets the drawing's size: the
    // looks are gathered before anything is written, and then the squares
    // go straight into out, which holds a maze of some hundred kilobytes
    // without another copy of it.
    const std::vector<LegendEntry> entries = legendEntries(frame, look, extra);
    // Wide enough for two columns of the legend under a small maze.
    const int width = std::max(frame.width(), GridFrame::kMarginPx + 2 * legendColumnPx(entries));
    const int height = frame.height() + legendHeight(width, entries);
    out.reserve(out.size() + static_cast<size_t>(frame.bottom - frame.top + 1) * (frame.right - frame.left + 1) * 320 +
                4096);
    appendAll(out, "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"mapa\" width=\"", width, "\" height=\"", height,
              "\" viewBox=\"0 0 ", width, " ", height, "\" role=\"img\" aria-label=\"");
    appendEscaped(out, label);
    out += "\">\n<title>";
    appendEscaped(out, label);
    appendAll(out, "</title>\n<rect class=\"fondo\" width=\"", width, "\" height=\"", height,
              "\" fill=\"#ffffff\"/>\n<g font-family=\"sans-serif\" font-size=\"9\" text-anchor=\"middle\" "
              "dominant-baseline=\"central\">\n");
    for (int c = frame.left; c <= frame.right; ++c)
        appendAll(out, "<text class=\"numero\" x=\"", frame.x(c), "\" y=\"", GridFrame::kMarginPx / 2, "\">", c + 1,
                  "</text>");
    for (int r = frame.top; r <= frame.bottom; ++r)
        appendAll(out, "<text class=\"numero\" x=\"", GridFrame::kMarginPx / 2, "\" y=\"", frame.y(r), "\">", r + 1,
                  "</text>");
    out += "\n";
    for (int r = frame.top; r <= frame.bottom; ++r)
        for (int c = frame.left; c <= frame.right; ++c)
            appendSquare(out, frame, r, c, look(r, c));
    out += "</g>\n<g font-family=\"sans-serif\" font-size=\"9\" text-anchor=\"middle\" dominant-baseline=\"central\">\n";
    overlay(out);
    out += "</g>\n<g font-family=\"sans-serif\" dominant-baseline=\"central\">\n";
    appendLegend(out, frame, width, entries);
    out += "</g>\n</svg>\n";
}

std::string svgGrid(const GridFrame& frame, const std::function<SquareLook(int, int)>& look, const std::string& label,
                    const std::string& overlay, const std::vector<LegendEntry>& extra)
{
    std::string svg;
    appendSvgGrid(svg, frame, look, label, [&](std::string& out) { out += overlay; }, extra);
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
