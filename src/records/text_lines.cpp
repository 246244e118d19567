#include "text_lines.h"

void writeText(std::FILE* out, const char* text) { std::fputs(text, out); }

void writeLine(std::FILE* out, const char* text)
{
    std::fputs(text, out);
    std::fputc('\n', out);
}

void writeNumberLine(std::FILE* out, int32_t value)
{
    std::fprintf(out, "%ld\n", static_cast<long>(value));
}

void writeGrid(std::FILE* out, const Grid& grid)
{
    for (int r = 0; r < kGridSize; ++r) {
        for (int c = 0; c < kGridSize; ++c)
            std::fprintf(out, c == 0 ? "%ld" : " %ld", static_cast<long>(grid[r][c].kind));
        std::fputc('\n', out);
    }
}
