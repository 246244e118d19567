#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_dir.h"

// A decoded picture: red, green, blue per pixel, rows bottom first with no
// bytes between them, which is the layout glTexImage2D takes at alignment 1.
struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// The largest picture the decoder accepts; anything bigger is refused before
// memory is taken for it.
constexpr int32_t kMaxBitmapSide = 16384;
constexpr int64_t kMaxBitmapPixels = int64_t{16} * 1024 * 1024;

// Decodes a Windows bitmap held in memory: a file starting with "BM" or a bare
// device-independent bitmap (header, colour table, pixels). Core (12-byte) and
// info (40-byte) headers; uncompressed 1, 4, 8 bits with a colour table and
// 16 (5-5-5), 24 and 32 bits. Pictures stored top row first are turned so the
// result is always bottom row first with a positive height.
// On failure returns nothing and, when error is given, sets it to the reason
// in Spanish ("la imagen BMP está dañada ...").
std::optional<RgbImage> decodeBitmap(const uint8_t* bytes, size_t size, std::string* error);

// Maps the file read-only and decodes it. The error names the file: "<path>:
// <reason>." for a picture that cannot be decoded, "No se pudo abrir la
// imagen <path>: <why>." for one that cannot be opened or mapped (an empty
// one included).
std::optional<RgbImage> decodeBitmapFile(const std::string& path, std::string* error);
// The same for a picture the game names ("Data/Font2.bmp"), read from its
// folder; the error names it as the game does.
std::optional<RgbImage> decodeBitmapFile(const GameDir& folder, const std::string& name, std::string* error);
