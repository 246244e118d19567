#include "summary_csv.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "catalogue.h"
#include "counter_names.h"
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

// A row's fields, joined with the style's separator and decimal mark.
// A line of a table, written field by field straight into the table.
class Row {
public:
    Row(const CsvStyle& style, std::string& table) : style_(style), table_(table) {}
    Row& text(const std::string& value)
    {
        separate();
        appendCsvField(table_, value);
        return *this;
    }
    Row& number(long long value)
    {
        separate();
        appendNumber(table_, value);
        return *this;
    }
    // NaN leaves the field empty: a missing value to R and to a spreadsheet.
    // Never three digits after the mark: "3,750" read in English (or
    // "3.750" in Spanish) would be 3750, a wrong number that looks right;
    // with one or two, a spreadsheet set to the other language shows text.
    Row& decimal(double value, int digits)
    {
        digits = std::min(digits, 2);
        std::string shown = fixed(value, digits);
        std::replace(shown.begin(), shown.end(), '.', style_.decimal);
        separate();
        table_ += shown;
        return *this;
    }
    Row& maybe(const std::optional<int>& value) { return value ? number(*value) : text(""); }
    void end() { table_ += '\n'; }

private:
    void separate()
    {
        if (!first_)
            table_ += style_.separator;
        first_ = false;
    }
    const CsvStyle& style_;
    std::string& table_;
    bool first_ = true;
};

std::string names(const CsvStyle& style, std::initializer_list<const char*> list)
{
    std::string line;
    for (const char* name : list)
        line += (line.empty() ? "" : std::string(1, style.separator)) + name;
    return line;
}

// One part of the settings line ("voz normal", "criaturas cada 3 segundos",
// "trampas sí"): the words after its name, up to the next comma.
std::string settingPart(const std::string& settings, const char* name)
{
    const std::string said = std::string(name) + " ";
    const size_t at = settings.rfind(said, 0) == 0 ? 0 : settings.find(", " + said);
    if (at == std::string::npos)
        return {};
    const size_t from = settings.find(said, at) + said.size();
    return settings.substr(from, settings.find(',', from) - from);
}

std::string orUnknown(const std::string& text) { return text.empty() ? "desconocido" : text; }

const char* eventKind(const std::string& sentence, bool announcement)
{
    if (announcement)
        return "anuncio";
    return isShot(sentence) ? "disparo" : "frase";
}

// Ticks are counted from the level's first, across a wrap of the counter.
double secondsIn(const Report& report, Tick tick) { return static_cast<uint32_t>(tick - firstTick(report)) / 1000.0; }
}

namespace {
struct Event {
    Tick tick;
    bool step;
    size_t index;  // into the path or the sentences
};

// Every step and every sentence but a step's own, in time order; a step
// comes before the sentences its arrival brought.
std::vector<Event> eventsInOrder(const Report& report)
{
    std::vector<Event> events;
    for (size_t i = 0; i < report.path.size(); ++i)
        events.push_back({report.path[i].tick, true, i});
    // The steps are rows of their own, with their square; their sentence
    // would only repeat them.
    for (size_t i = 0; i < report.sentences.size(); ++i)
        if (report.sentences[i].text != catalogue::Avanzaste.shown)
            events.push_back({report.sentences[i].tick, false, i});
    std::stable_sort(events.begin(), events.end(), [&](const Event& a, const Event& b) {
        const double ta = secondsIn(report, a.tick), tb = secondsIn(report, b.tick);
        return ta != tb ? ta < tb : a.step > b.step;
    });
    return events;
}
}

std::string localDate(const Report& report) { return localFormat(report, "%Y-%m-%d"); }
std::string localTime(const Report& report) { return localFormat(report, "%H:%M:%S"); }

std::string csvHeader(const CsvStyle& style)
{
    std::string line = names(style, {"archivo", "jugador", "fecha", "hora", "mapa", "repeticion", "ajustes", "voz",
                                     "criaturas_cada_s", "trampas", "balas_infinitas", "mapa_a_la_vista"});
    for (int i = PlayingSeconds; i <= BulletGrabErrors; ++i)
        line += style.separator + std::string(counterColumn(static_cast<Counter>(i)));
    return line + style.separator +
           names(style, {"juego_exitoso", "resultado", "pasos", "balas_final", "camino_minimo", "razon_pasos_camino",
                         "avance_camino", "pasos_faltantes", "disparos_lado_equivocado", "reaccion_mediana_s",
                         "anuncios_respondidos", "media_entre_pasos_s", "errores", "errores_por_10_pasos"}) +
           "\n";
}

std::string csvRow(const Report& report, const CsvStyle& style)
{
    const Measures m = measure(report);
    std::string line;
    Row row(style, line);
    row.text(utf8FromGameText(report.file)).text(report.player).text(localDate(report)).text(localTime(report));
    row.text(report.map).text(settingText(m.replay)).text(orUnknown(m.settings));
    row.text(orUnknown(settingPart(m.settings, "voz")));
    const std::string every = settingPart(m.settings, "criaturas cada");
    const int seconds = std::atoi(every.c_str());
    row.maybe(seconds > 0 ? std::optional<int>(seconds) : std::nullopt);
    row.text(orUnknown(settingPart(m.settings, "trampas")));
    row.text(settingText(m.infiniteBullets)).text(settingText(m.mapShown));
    for (int i = PlayingSeconds; i <= BulletGrabErrors; ++i)
        row.number(report.counters[i]);
    row.text(report.reachedEnd ? "sí" : "no").text(outcomeText(m.outcome));
    row.number(report.counters[StepCount]).number(report.counters[FinalBullets]).maybe(m.shortest);
    row.decimal(m.ratio, 2).decimal(m.routeCovered, 2).maybe(m.stepsLeft).number(m.wrongSideShots);
    row.decimal(m.reactionSeconds.value_or(NAN), 2).number(m.reactionCount).decimal(m.meanGap, 2);
    row.number(m.errors).decimal(m.errorsPerTen, 2);
    row.end();
    return line;
}

std::string eventsHeader(const CsvStyle& style)
{
    return names(style, {"archivo", "jugador", "mapa", "fecha", "hora", "orden", "tipo", "tick", "segundos", "fila",
                         "columna", "texto", "respuesta_s"}) +
           "\n";
}

std::string eventRows(const Report& report, const CsvStyle& style)
{
    std::string rows;
    appendEventRows(rows, report, style);
    return rows;
}

void appendEventRows(std::string& rows, const Report& report, const CsvStyle& style)
{
    std::vector<std::optional<double>> answer(report.sentences.size());
    std::vector<bool> announced(report.sentences.size());
    for (const Reaction& r : reactions(report)) {
        answer[r.sentence] = r.seconds;
        announced[r.sentence] = true;
    }
    const std::string file = utf8FromGameText(report.file), date = localDate(report), time = localTime(report);
    int order = 0;
    const SquareAtTick squareAt(report);
    for (const Event& e : eventsInOrder(report)) {
        Row row(style, rows);
        row.text(file).text(report.player).text(report.map).text(date).text(time).number(++order);
        if (e.step) {
            const ReportStep& s = report.path[e.index];
            row.text("paso").number(e.tick).decimal(secondsIn(report, e.tick), 2).number(s.row).number(s.col);
            row.text(catalogue::Avanzaste.shown).text("");
        } else {
            const ReportSentence& s = report.sentences[e.index];
            const auto [r, c] = squareAt(s.tick);
            row.text(eventKind(s.text, announced[e.index])).number(e.tick).decimal(secondsIn(report, e.tick), 2);
            row.number(r).number(c).text(s.text).decimal(answer[e.index].value_or(NAN), 2);
        }
        row.end();
    }
}

bool sameReport(const Report& a, const Report& b)
{
    auto sameSentence = [](const ReportSentence& x, const ReportSentence& y) {
        return x.tick == y.tick && x.text == y.text;
    };
    auto sameStep = [](const ReportStep& x, const ReportStep& y) {
        return x.tick == y.tick && x.row == y.row && x.col == y.col;
    };
    return a.player == b.player && a.map == b.map && a.reachedEnd == b.reachedEnd &&
           std::equal(std::begin(a.counters), std::end(a.counters), std::begin(b.counters)) &&
           std::memcmp(a.kinds, b.kinds, sizeof a.kinds) == 0 &&
           std::equal(a.path.begin(), a.path.end(), b.path.begin(), b.path.end(), sameStep) &&
           std::equal(a.sentences.begin(), a.sentences.end(), b.sentences.begin(), b.sentences.end(), sameSentence);
}

// The guide written beside the tables, for the teacher who opens them.
const char* const kSpanishFormat =
    "Formato: campos separados por punto y coma (;), decimales con coma (1,25), UTF-8 con marca\n"
    "(BOM). Así los abren con doble clic Excel y LibreOffice configurados en español (España,\n"
    "Argentina, Chile, Colombia...). Con el idioma en inglés o en español de México, o para R y\n"
    "Python, escriba las tablas con --csv-punto. Abiertas con otro idioma, los decimales\n"
    "quedan como texto, nunca como un número equivocado.\n";
const char* const kPointFormat =
    "Formato (--csv-punto): campos separados por coma (,), decimales con punto (1.25), UTF-8 sin\n"
    "marca: lo que leen tal cual read.csv de R, pandas y una hoja de cálculo en inglés.\n";
const char* const kColumns =
    "Un campo vacío es un dato que falta o que no corresponde. Un informe copiado dos veces (el mismo\n"
    "contenido en dos archivos) se cuenta una sola vez.\n\n"
    "resumen.csv: una fila por nivel jugado (un informe .db1)\n"
    "  archivo, jugador, mapa          el informe, el nombre escrito al jugar y el mapa o la partida guardada.\n"
    "  fecha, hora                     cuándo terminó el nivel (hora local), del nombre del archivo.\n"
    "  repeticion                      sí: el nivel siguió a una partida guardada (.txt) que el juego\n"
    "                                  repitió primero; sus tiempos incluyen esa repetición.\n"
    "  ajustes                         los ajustes del docente al empezar el nivel, como los escribe el\n"
    "                                  juego (\"voz normal, criaturas cada 3 segundos, ...\").\n"
    "  voz, criaturas_cada_s, trampas  las partes de esos ajustes (criaturas_cada_s vacío si no se sabe).\n"
    "  balas_infinitas, mapa_a_la_vista  sí / no todo el nivel, cambió (se activó o desactivó durante\n"
    "                                  el nivel).\n"
    "  Los informes anteriores a la línea de ajustes dicen \"desconocido\" donde no se puede saber.\n"
    "  tiempo_juego_s ... errores_balas  los contadores del informe tal cual: tiempo de juego en segundos,\n"
    "                                  disparos errados (en total, a monstruos, a mutantes, a\n"
    "                                  supermonstruos, en el pasillo), pasos contra la pared, pasos con un\n"
    "                                  monstruo delante, choques contra la puerta, errores al tomar balas.\n"
    "  juego_exitoso                   sí si llegó al final (la salida o una trampa en su lugar).\n"
    "  resultado                       ganado, trampa, sin vidas, sin balas o sin terminar.\n"
    "  pasos, balas_final              pasos avanzados y balas que quedaban.\n"
    "  camino_minimo                   los pasos del camino más corto del inicio a la salida.\n"
    "  razon_pasos_camino              pasos / camino_minimo, solo en los niveles ganados (1 = el camino\n"
    "                                  más corto; 2 = el doble de pasos).\n"
    "  avance_camino                   cuánto del camino más corto recorrió: la casilla de ese camino más\n"
    "                                  lejana del inicio que pisó, como parte del camino (0 a 1; 1 si ganó).\n"
    "                                  Quien fue por otro camino cuenta desde donde se unió a este.\n"
    "  pasos_faltantes                 los pasos de ese camino que le quedaban desde esa casilla (0 si ganó).\n"
    "  disparos_lado_equivocado        disparos errados con una criatura en la casilla (al lado donde no\n"
    "                                  estaba): la suma de los errados a monstruos, mutantes y supermonstruos.\n"
    "  reaccion_mediana_s              la mediana, en segundos, del tiempo entre un anuncio (una puerta,\n"
    "                                  balas, una criatura al llegar o al cambiar de lado) y la siguiente\n"
    "                                  tecla del jugador que el informe muestra (un paso, un disparo, tomar\n"
    "                                  balas, abrir una puerta, preguntar qué hay con D, una opción). Se cuenta\n"
    "                                  desde que empieza el anuncio, así que incluye lo que dura la voz. Si\n"
    "                                  llega otro anuncio antes de una tecla, cuenta solo el último.\n"
    "  anuncios_respondidos            cuántos anuncios entran en esa mediana.\n"
    "  media_entre_pasos_s             el tiempo medio entre un paso y el siguiente.\n"
    "  errores                         disparos errados + pasos en falso + pasos con monstruo + choques\n"
    "                                  contra la puerta.\n"
    "  errores_por_10_pasos            errores cada diez pasos avanzados.\n\n"
    "eventos.csv: una fila por paso, disparo, anuncio u otra frase del informe, en el orden en que pasaron\n"
    "  archivo, jugador, mapa, fecha, hora  el nivel, como en resumen.csv.\n"
    "  orden                           1, 2, 3... dentro del nivel.\n"
    "  tipo                            paso, disparo (también \"No tienes balas.\" y \"Perdiste, se te\n"
    "                                  acabaron las balas.\"), anuncio (como en reaccion_mediana_s) o\n"
    "                                  frase (todo lo demás que se dijo).\n"
    "  tick                            el reloj del juego en milisegundos, tal como lo guarda el informe.\n"
    "  segundos                        segundos desde lo primero que registra el nivel.\n"
    "  fila, columna                   la casilla donde estaba el jugador (0 a 29, como en el informe).\n"
    "  texto                           la frase dicha y escrita en pantalla.\n"
    "  respuesta_s                     en un anuncio: segundos hasta la siguiente tecla del jugador.\n";

std::string columnGuide(const CsvStyle& style)
{
    std::string guide = "GUÍA DE COLUMNAS de resumen.csv y eventos.csv (quorvane-informes)\n\n";
    guide += style.decimal == ',' ? kSpanishFormat : kPointFormat;
    return guide + kColumns;
}
