#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

constexpr int kMapSide = 30;
using MapCodes = int32_t[kMapSide][kMapSide];

// A shipped map read strictly, as a map a teacher hands out should be: every
// line a comment ("/...") or a row of exactly 30 codes from 0 to 12, exactly
// 30 rows, and a first comment line that names the level.
struct MapFile {
    std::string title;
    MapCodes codes{};
};

bool readShippedMap(const std::filesystem::path& path, MapFile& out, std::string& error);
