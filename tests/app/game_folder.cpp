#include "game_folder.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <vector>

#include "sound_check.h"
#include "speech_table.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}
void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// A 24-bit bitmap with a 40-byte header; pixel(x, y) gives the grey level,
// y counted from the top.
template <typename Pixel>
bool writeBitmap(const QString& path, int width, int height, Pixel pixel)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + rowBytes * height);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                out.push_back(static_cast<uint8_t>(pixel(x, y)));
        out.resize(out.size() + (rowBytes - width * 3), 0);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(out.data()), out.size()) ==
               static_cast<qint64>(out.size());
}

// 20 ms of silence, 8 kHz mono 8-bit.
bool writeWave(const QString& path)
{
    const uint32_t samples = 160;
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    put32(out, 36 + samples);
    for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
        out.push_back(c);
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, 8000);
    put32(out, 8000);
    put16(out, 1);
    put16(out, 8);
    for (char c : {'d', 'a', 't', 'a'})
        out.push_back(c);
    put32(out, samples);
    out.resize(out.size() + samples, 0x80);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(out.data()), out.size()) ==
               static_cast<qint64>(out.size());
}

QByteArray corridorMap()
{
    QByteArray text = "/ Un pasillo recto hasta la salida\n";
    for (int row = 0; row < 30; ++row) {
        for (int col = 0; col < 30; ++col) {
            int code = 0;
            if (row == GameFolder::kRow && col == GameFolder::kStartCol)
                code = 1;
            else if (row == GameFolder::kRow && col > GameFolder::kStartCol && col < GameFolder::kExitCol)
                code = 3;
            else if (row == GameFolder::kRow && col == GameFolder::kExitCol)
                code = 8;
            text += QByteArray::number(code);
            text += col < 29 ? " " : "\n";
        }
    }
    return text;
}

}  // namespace

GameFolder::GameFolder()
{
    const QDir dir(dir_.path());
    ok_ = dir_.isValid() && dir.mkpath(QStringLiteral("Data")) && dir.mkpath(QStringLiteral("bd")) &&
          dir.mkpath(QStringLiteral("Sonidos")) && dir.mkpath(QStringLiteral("SonidosLetras"));
    // Every glyph a dark cell with a light bar, so text shows as dark marks
    // on the white background whatever colour tints it.
    ok_ = ok_ && writeBitmap(dir.filePath(QStringLiteral("Data/Font2.bmp")), 256, 256, [](int x, int y) {
              const int cx = x % 16, cy = y % 16;
              return (cx >= 5 && cx <= 10 && cy >= 4 && cy <= 12) ? 0xff : 0x00;
          });
    ok_ = ok_ && writeBitmap(dir.filePath(QStringLiteral("Data/casilla.bmp")), 16, 16,
                             [](int, int) { return kTileGrey; });
    // Every sound the game plays, so the start finds none missing.
    ok_ = ok_ && dir.mkpath(QStringLiteral("SonidosSeteo"));
    for (const std::string& sound : gameSoundFiles(SpeechTable{}))
        ok_ = ok_ && writeWave(dir.filePath(QString::fromStdString(sound)));
    // A table of where the sounds speak, read whole (they all are effects).
    QFile table(dir.filePath(QString::fromLatin1(kSpeechTableFile)));
    ok_ = ok_ && table.open(QIODevice::WriteOnly) && table.write("Sonidos/Nada.wav\t0.1\n") > 0;
    table.close();
    QFile map(dir.filePath(QStringLiteral("nivel1.quorvane")));
    ok_ = ok_ && map.open(QIODevice::WriteOnly) && map.write(corridorMap()) > 0;
    map.close();
}

GameDir GameFolder::dir() const { return GameDir(QFile::encodeName(dir_.path()).toStdString()); }

QString GameFolder::file(const QString& name) const { return QDir(dir_.path()).filePath(name); }
