#include "shipped_map.h"

#include <fstream>
#include <sstream>

bool readShippedMap(const std::filesystem::path& path, MapFile& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open";
        return false;
    }
    std::string line;
    int rows = 0;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] == '/') {
            if (out.title.empty() && rows == 0)
                out.title = line.substr(line.find_first_not_of("/ ") == std::string::npos
                                            ? line.size()
                                            : line.find_first_not_of("/ "));
            continue;
        }
        if (rows == kMapSide) {
            error = where + "more than 30 rows";
            return false;
        }
        std::istringstream values(line);
        int col = 0;
        long v = 0;
        while (values >> v) {
            if (col == kMapSide || v < 0 || v > 12) {
                error = where + "a value out of range or past column 30";
                return false;
            }
            out.codes[rows][col++] = int32_t(v);
        }
        if (!values.eof() || col != kMapSide) {
            error = where + "a row needs 30 codes";
            return false;
        }
        ++rows;
    }
    if (rows != kMapSide) {
        error = std::to_string(rows) + " rows instead of 30";
        return false;
    }
    return true;
}
