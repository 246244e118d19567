#include "textures.h"

#include <GL/gl.h>

#include <cstdio>
#include <sys/stat.h>

namespace {
constexpr char kFontSheet[] = "Data/Font2.bmp";
constexpr char kTileImage[] = "Data/casilla.bmp";

void reportBitmapError(const BitmapErrorSink& report, const std::string& message)
{
    if (report)
        report(message);
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

void uploadTexture(unsigned int name, const RgbImage& image)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // The decoded rows are packed; at the default alignment of 4 a width whose
    // rows are not a multiple of 4 bytes would make GL read past the pixels.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}
}  // namespace

std::optional<RgbImage> loadBitmap(const char* name, const BitmapErrorSink& report, const GameDir& folder)
{
    if (name == nullptr || *name == '\0')
        return std::nullopt;
    // Only a file that is there counts as an error when it cannot be decoded.
    // The test looks without opening: opening a FIFO would wait for a writer.
    struct stat info {};
    if (::stat(folder.file(name).c_str(), &info) != 0)
        return std::nullopt;

    std::string error;
    auto image = decodeBitmapFile(folder, name, &error);
    if (!image)
        reportBitmapError(report, error);
    return image;
}

std::optional<Textures> loadTextures(const GameDir& folder, const BitmapErrorSink& report)
{
    const auto font = loadBitmap(kFontSheet, report, folder);
    if (!font)
        return std::nullopt;
    const auto tile = loadBitmap(kTileImage, report, folder);
    if (!tile)
        return std::nullopt;

    GLuint names[2] = {0, 0};
    glGenTextures(2, names);
    const Textures textures{names[0], names[1]};
    uploadTexture(textures.font, *font);
    uploadTexture(textures.tile, *tile);
    return textures;
}

std::string texturesFailure(const GameDir& folder)
{
    std::string missing;
    for (const char* name : {kFontSheet, kTileImage}) {
        struct stat info {};
        if (::stat(folder.file(name).c_str(), &info) != 0)
            missing += std::string(missing.empty() ? "" : " y ") + name;
    }
    if (!missing.empty())
        return "El juego no puede empezar: falta " + missing + ".";
    return std::string("El juego no puede empezar: no se pudieron cargar sus imágenes (") + kFontSheet + " y " +
           kTileImage + ").";
}
