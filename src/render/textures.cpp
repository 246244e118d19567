#include "textures.h"

#include <GL/gl.h>

#include <cstdio>
#include <sys/stat.h>

unsigned int fontTexture = 0;
unsigned int tileTexture = 0;

namespace {
const char* const kFontSheet = "Data/Font2.bmp";
const char* const kTileImage = "Data/casilla.bmp";

BitmapErrorHandler errorHandler = nullptr;

void reportBitmapError(const std::string& message)
{
    if (errorHandler)
        errorHandler(message);
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

void setBitmapErrorHandler(BitmapErrorHandler handler) { errorHandler = handler; }

std::optional<RgbImage> loadBitmap(const char* name)
{
    if (name == nullptr || *name == '\0')
        return std::nullopt;
    // Only a file that is there counts as an error when it cannot be decoded.
    // The test looks without opening: opening a FIFO would wait for a writer.
    struct stat info {};
    if (::stat(name, &info) != 0)
        return std::nullopt;

    std::string error;
    auto image = decodeBitmapFile(name, &error);
    if (!image)
        reportBitmapError(error);
    return image;
}

bool loadTextures()
{
    const auto font = loadBitmap(kFontSheet);
    if (!font)
        return false;
    const auto tile = loadBitmap(kTileImage);
    if (!tile)
        return false;

    GLuint names[2] = {0, 0};
    glGenTextures(2, names);
    fontTexture = names[0];
    tileTexture = names[1];
    uploadTexture(fontTexture, *font);
    uploadTexture(tileTexture, *tile);
    return true;
}
