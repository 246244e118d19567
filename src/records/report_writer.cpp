#include "report_writer.h"

#include "text_lines.h"

namespace {
void writeCounters(std::FILE* out, const ReportData& data, int first, int last)
{
    for (int i = first; i <= last; ++i) {
        writeLine(out, reportLabel(static_cast<Counter>(i)));
        writeNumberLine(out, data.counters[i]);
    }
}
}

void writeReportGrid(std::FILE* out, const Grid& grid) { writeGrid(out, grid); }

void writeReportSentence(std::FILE* out, Tick tick, const char* sentence)
{
    writeNumberLine(out, asSigned(tick));
    writeText(out, sentence);
}

void writeReportData(std::FILE* out, const ReportData& data)
{
    using namespace report_format;
    writeLine(out, kDataLabel);
    writeLine(out, kNameLabel);
    writeLine(out, data.player.c_str());
    writeLine(out, kMapLabel);
    writeLine(out, data.map.c_str());
    writeCounters(out, data, 0, kLastCounterBeforeSuccess);
    writeLine(out, kSuccessLabel);
    writeLine(out, data.reachedEnd ? kYes : kNo);
    writeCounters(out, data, kLastCounterBeforeSuccess + 1, kCounterCount - 1);
    writeLine(out, kPathLabel);
}

void writeReportStep(std::FILE* out, Tick tick, int32_t row, int32_t col)
{
    writeNumberLine(out, asSigned(tick));
    writeNumberLine(out, row);
    writeNumberLine(out, col);
}

void writeReportEnd(std::FILE* out) { writeText(out, report_format::kEndLine); }
