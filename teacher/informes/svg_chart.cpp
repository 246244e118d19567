#include "svg_chart.h"

#include <algorithm>
#include <cmath>

#include "text.h"

namespace {
constexpr double kWidth = 460, kHeight = 190;
constexpr double kLeft = 46, kRight = 12, kTop = 10, kBottom = 34;
constexpr const char* kColours[] = {"#1155cc", "#b3261e", "#1e7b34", "#6a3d9a",
                                    "#8a4b00", "#00695c", "#a0198b", "#444444"};
constexpr const char* kMarkColour = "#8a4b00";

std::string num(double v) { return fixed(v, 1); }

// A marker shape per series, so that lines differ without their colour;
// inner is what the element holds (its title).
std::string marker(size_t series, double x, double y, const std::string& colour, const std::string& inner = "")
{
    const std::string fill = " fill=\"" + colour + "\">" + inner;
    switch (series % 4) {
    case 0: return "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"3.5\"" + fill + "</circle>";
    case 1:
        return "<rect x=\"" + num(x - 3.2) + "\" y=\"" + num(y - 3.2) + "\" width=\"6.4\" height=\"6.4\"" + fill +
               "</rect>";
    case 2:
        return "<polygon points=\"" + num(x) + "," + num(y - 4) + " " + num(x + 4) + "," + num(y + 3) + " " +
               num(x - 4) + "," + num(y + 3) + "\"" + fill + "</polygon>";
    default:
        return "<polygon points=\"" + num(x) + "," + num(y - 4.5) + " " + num(x + 4.5) + "," + num(y) + " " + num(x) +
               "," + num(y + 4.5) + " " + num(x - 4.5) + "," + num(y) + "\"" + fill + "</polygon>";
    }
}

// A round top for the value axis: 1, 2 or 5 times a power of ten.
double niceTop(double top)
{
    if (!(top > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(top)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (top <= step * power)
            return step * power;
    return 10 * power;
}

std::string trendWords(const std::optional<Trend>& trend, const Chart& chart)
{
    if (!trend)
        return "sin tendencia (hace falta jugar en dos momentos distintos)";
    const double perWeek = trend->slope * 7;
    if (std::fabs(perWeek) < 0.5 * std::pow(10.0, -chart.digits))
        return "tendencia estable";
    return std::string("tendencia: ") + (perWeek > 0 ? "sube " : "baja ") + fixed(std::fabs(perWeek), chart.digits) +
           " por semana";
}

// A value on the axis with the decimals it needs (0.25, 12.5, 20).
std::string axisNumber(double value)
{
    std::string text = fixed(value, 2);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

std::string valueText(const Chart& chart, double value)
{
    if (chart.yesNo)
        return value >= 0.5 ? "sí" : "no";
    return fixed(value, chart.digits);
}
}

std::optional<Trend> leastSquares(const std::vector<ChartPoint>& points)
{
    if (points.size() < 2)
        return std::nullopt;
    double meanX = 0, meanY = 0;
    for (const ChartPoint& p : points) {
        meanX += p.day;
        meanY += p.value;
    }
    meanX /= static_cast<double>(points.size());
    meanY /= static_cast<double>(points.size());
    double sxx = 0, sxy = 0;
    for (const ChartPoint& p : points) {
        sxx += (p.day - meanX) * (p.day - meanX);
        sxy += (p.day - meanX) * (p.value - meanY);
    }
    if (sxx <= 1e-12)
        return std::nullopt;
    const double slope = sxy / sxx;
    return Trend{slope, meanY - slope * meanX};
}

const char* seriesColour(size_t series) { return kColours[series % std::size(kColours)]; }

namespace {
// Where days and values fall on the drawing.
struct Plot {
    double x0 = 0, x1 = 1, yTop = 1;
    double width = kWidth - kLeft - kRight, height = kHeight - kTop - kBottom;

    double px(double day) const { return kLeft + (day - x0) / (x1 - x0) * width; }
    double py(double value) const { return kTop + height - value / yTop * height; }
};

Plot plotOf(const Chart& chart)
{
    double first = INFINITY, last = -INFINITY, top = chart.yesNo ? 1 : 0;
    for (const ChartSeries& s : chart.series)
        for (const ChartPoint& p : s.points) {
            first = std::min(first, p.day);
            last = std::max(last, p.day);
            top = std::max(top, p.value);
        }
    for (const ChartMark& m : chart.marks) {
        first = std::min(first, m.day);
        last = std::max(last, m.day);
    }
    if (!std::isfinite(first))
        first = last = 0;
    // One day alone sits in the middle; otherwise a small margin each side.
    const double pad = last > first ? (last - first) * 0.04 : 1;
    Plot plot;
    plot.x0 = first - pad;
    plot.x1 = last + pad;
    plot.yTop = chart.yesNo ? 1 : niceTop(top);
    return plot;
}

// The chart in words: each series from its first value to its last, with its
// trend, and the days the settings changed.
std::string chartWords(const Chart& chart)
{
    std::string words;
    for (const ChartSeries& s : chart.series) {
        if (s.points.empty())
            continue;
        words += s.name + ": " + std::to_string(s.points.size()) + (s.points.size() == 1 ? " nivel" : " niveles") +
                 ", de " + valueText(chart, s.points.front().value) + " (" + s.points.front().label + ") a " +
                 valueText(chart, s.points.back().value) + " (" + s.points.back().label + "); " +
                 trendWords(leastSquares(s.points), chart) + ". ";
    }
    if (!chart.marks.empty()) {
        words += "Cambios de ajustes del docente:";
        for (const ChartMark& m : chart.marks)
            words += " " + m.label;
        words += ".";
    }
    if (words.empty())
        words = "Sin datos.";
    return words;
}

// The axes, the value grid and its labels.
std::string valueAxis(const Chart& chart, const Plot& plot)
{
    std::string svg;
    const int ticks = chart.yesNo ? 1 : 4;
    for (int i = 0; i <= ticks; ++i) {
        const double v = plot.yTop * i / ticks, y = plot.py(v);
        svg += "<line x1=\"" + num(kLeft) + "\" y1=\"" + num(y) + "\" x2=\"" + num(kWidth - kRight) + "\" y2=\"" +
               num(y) + "\" stroke=\"#ccc\" stroke-width=\"0.7\"/>";
        svg += "<text x=\"" + num(kLeft - 4) + "\" y=\"" + num(y + 3.5) + "\" text-anchor=\"end\">" +
               (chart.yesNo ? valueText(chart, v) : axisNumber(v)) + "</text>\n";
    }
    const double bottom = kTop + plot.height;
    svg += "<line x1=\"" + num(kLeft) + "\" y1=\"" + num(kTop) + "\" x2=\"" + num(kLeft) + "\" y2=\"" +
           num(bottom) + "\" stroke=\"#222\"/><line x1=\"" + num(kLeft) + "\" y1=\"" + num(bottom) +
           "\" x2=\"" + num(kWidth - kRight) + "\" y2=\"" + num(bottom) + "\" stroke=\"#222\"/>\n";
    return svg;
}

// The first and last day under the axis, and the one between when there is room.
std::string dayAxis(const Chart& chart, const Plot& plot)
{
    std::vector<std::pair<double, std::string>> dayLabels;
    for (const ChartSeries& s : chart.series)
        for (const ChartPoint& p : s.points)
            dayLabels.emplace_back(p.day, p.label);
    std::sort(dayLabels.begin(), dayLabels.end());
    std::string svg;
    if (!dayLabels.empty()) {
        std::vector<std::pair<double, std::string>> shown{dayLabels.front()};
        if (dayLabels.back().second != dayLabels.front().second)
            shown.push_back(dayLabels.back());
        const auto& middle = dayLabels[dayLabels.size() / 2];
        const double x = plot.px(middle.first);
        if (shown.size() == 2 && middle.second != shown[0].second && middle.second != shown[1].second &&
            x - plot.px(shown[0].first) > 70 && plot.px(shown[1].first) - x > 70)
            shown.push_back(middle);
        for (const auto& [day, label] : shown)
            svg += "<text x=\"" + num(std::clamp(plot.px(day), kLeft + 28, kWidth - kRight - 28)) + "\" y=\"" +
                   num(kTop + plot.height + 14) + "\" text-anchor=\"middle\">" + htmlEscape(label) + "</text>\n";
    }
    return svg + "<text x=\"" + num(kLeft + plot.width / 2) + "\" y=\"" + num(kHeight - 4) +
           "\" text-anchor=\"middle\">fecha</text>\n";
}

std::string changeMarks(const Chart& chart, const Plot& plot)
{
    std::string svg;
    for (const ChartMark& m : chart.marks)
        svg += "<line class=\"cambio\" data-fecha=\"" + htmlEscape(m.label) + "\" x1=\"" + num(plot.px(m.day)) +
               "\" y1=\"" + num(kTop) + "\" x2=\"" + num(plot.px(m.day)) + "\" y2=\"" + num(kTop + plot.height) +
               "\" stroke=\"" + kMarkColour + "\" stroke-width=\"1.5\" stroke-dasharray=\"2 2\"><title>Cambio de "
               "ajustes: " + htmlEscape(m.label) + "</title></line>\n";
    return svg;
}

// Series i: its line, its trend and a marker with its value at each point.
std::string seriesDrawing(const Chart& chart, const Plot& plot, size_t i)
{
    const ChartSeries& s = chart.series[i];
    const std::string colour = seriesColour(i);
    std::string svg;
    if (s.points.size() >= 2) {
        svg += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.6\" points=\"";
        for (const ChartPoint& p : s.points)
            svg += num(plot.px(p.day)) + "," + num(plot.py(p.value)) + " ";
        svg += "\"/>\n";
    }
    if (const auto trend = leastSquares(s.points)) {
        const double a = s.points.front().day, b = s.points.back().day;
        svg += "<line class=\"tendencia\" data-serie=\"" + std::to_string(i) + "\" x1=\"" + num(plot.px(a)) +
               "\" y1=\"" + num(plot.py(trend->intercept + trend->slope * a)) + "\" x2=\"" + num(plot.px(b)) +
               "\" y2=\"" + num(plot.py(trend->intercept + trend->slope * b)) + "\" stroke=\"" + colour +
               "\" stroke-width=\"1.2\" stroke-dasharray=\"6 3\"/>\n";
    }
    for (const ChartPoint& p : s.points)
        svg += "<g class=\"punto\" data-serie=\"" + std::to_string(i) + "\" data-fecha=\"" + htmlEscape(p.label) +
               "\" data-valor=\"" + fixed(p.value, chart.digits) + "\">" +
               marker(i, plot.px(p.day), plot.py(p.value), colour,
                      "<title>" + htmlEscape(s.name + ", " + p.label + ": " + valueText(chart, p.value)) +
                          "</title>") +
               "</g>\n";
    return svg;
}

std::string chartLegend(const Chart& chart)
{
    std::string legend = "<ul class=\"leyenda-grafico\">\n";
    for (size_t i = 0; i < chart.series.size(); ++i)
        legend += "<li><svg width=\"34\" height=\"10\" aria-hidden=\"true\"><line x1=\"0\" y1=\"5\" x2=\"34\" y2=\"5\" "
                  "stroke=\"" + std::string(seriesColour(i)) + "\" stroke-width=\"1.6\"/>" +
                  marker(i, 17, 5, seriesColour(i)) + "</svg> " + htmlEscape(chart.series[i].name) + "</li>\n";
    legend += "<li><svg width=\"34\" height=\"10\" aria-hidden=\"true\"><line x1=\"0\" y1=\"5\" x2=\"34\" y2=\"5\" "
              "stroke=\"#444\" stroke-width=\"1.2\" stroke-dasharray=\"6 3\"/></svg> tendencia (mínimos cuadrados)</li>\n";
    if (!chart.marks.empty())
        legend += "<li><svg width=\"34\" height=\"10\" aria-hidden=\"true\"><line x1=\"17\" y1=\"0\" x2=\"17\" y2=\"10\" "
                  "stroke=\"" + std::string(kMarkColour) + "\" stroke-width=\"1.5\" stroke-dasharray=\"2 2\"/></svg> "
                  "cambio de ajustes del docente</li>\n";
    return legend + "</ul>\n";
}
}  // namespace

std::string svgLineChart(const Chart& chart)
{
    const Plot plot = plotOf(chart);
    std::string svg = "<svg class=\"grafico\" viewBox=\"0 0 " + num(kWidth) + " " + num(kHeight) +
                      "\" width=\"" + num(kWidth) + "\" height=\"" + num(kHeight) +
                      "\" role=\"img\" aria-labelledby=\"" + chart.id + "-t " + chart.id + "-d\">\n<title id=\"" +
                      chart.id + "-t\">" + htmlEscape(chart.title) + "</title>\n";
    const std::string words = chartWords(chart);
    svg += "<desc id=\"" + chart.id + "-d\">" + htmlEscape(words) + "</desc>\n";
    svg += "<g font-family=\"sans-serif\" font-size=\"10\" fill=\"#222\">\n" + valueAxis(chart, plot) +
           dayAxis(chart, plot) + "</g>\n";
    svg += changeMarks(chart, plot);
    for (size_t i = 0; i < chart.series.size(); ++i)
        svg += seriesDrawing(chart, plot, i);
    svg += "</svg>\n";
    return "<figure class=\"grafico\">\n<h3>" + htmlEscape(chart.title) + "</h3>\n" + svg + chartLegend(chart) +
           "<figcaption>" + htmlEscape(words) + "</figcaption>\n</figure>\n";
}
