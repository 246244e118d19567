#include "summary_csv.h"

#include "report_measures.h"
#include "text.h"

namespace {
std::string localFormat(const Report& report, const char* format)
{
    if (!report.written)
        return {};
    std::tm local{};
    const std::time_t when = *report.written;
    if (!::localtime_r(&when, &local))
        return {};
    char text[32];
    return std::strftime(text, sizeof text, format, &local) ? text : "";
}
}

std::string localDate(const Report& report) { return localFormat(report, "%Y-%m-%d"); }
std::string localTime(const Report& report) { return localFormat(report, "%H:%M:%S"); }

std::string csvHeader()
{
    std::string header = "archivo,jugador,fecha,hora,mapa";
    for (int i = PlayingSeconds; i <= BulletGrabErrors; ++i)
        header += std::string(",") + counterColumn(static_cast<Counter>(i));
    header += ",juego_exitoso,resultado,pasos,balas_final,camino_minimo,razon_pasos_camino,"
              "media_entre_pasos_s,maximo_entre_pasos_s,errores,errores_por_10_pasos\n";
    return header;
}

std::string csvRow(const Report& report)
{
    const Measures m = measure(report);
    std::string row = csvField(utf8FromGameText(report.file)) + "," + csvField(report.player) + "," + localDate(report) + "," +
                      localTime(report) + "," + csvField(report.map);
    for (int i = PlayingSeconds; i <= BulletGrabErrors; ++i)
        row += "," + std::to_string(report.counters[i]);
    row += std::string(",") + (report.reachedEnd ? "sí" : "no") + "," + outcomeText(m.outcome) + "," +
           std::to_string(report.counters[StepCount]) + "," + std::to_string(report.counters[FinalBullets]) + "," +
           (m.shortest ? std::to_string(*m.shortest) : "") + "," + fixed(m.ratio, 2) + "," + fixed(m.meanGap, 3) +
           "," + fixed(m.longestGap, 3) + "," + std::to_string(m.errors) + "," + fixed(m.errorsPerTen, 2) + "\n";
    return row;
}
