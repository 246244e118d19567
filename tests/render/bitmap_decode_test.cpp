#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <filesystem>

#include "bitmap.h"
#include "bmp_builder.h"

namespace {
const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 200, 0};
const Rgb kBlue{10, 20, 230};
const Rgb kGrey{90, 90, 90};

struct Outcome {
    std::optional<RgbImage> image;
    std::string error;
};

Outcome decode(const std::vector<uint8_t>& bytes)
{
    Outcome o;
    o.image = decodeBitmap(bytes.data(), bytes.size(), &o.error);
    return o;
}

Rgb pixelAt(const RgbImage& image, int x, int row)
{
    const size_t at = (static_cast<size_t>(row) * image.width + x) * 3;
    return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
}

BmpBuilder indexed(uint16_t bits, int width, std::vector<std::vector<uint8_t>> rows)
{
    BmpBuilder b;
    b.bits = bits;
    b.width = width;
    b.height = static_cast<int32_t>(rows.size());
    b.table = {kRed, kGreen, kBlue, kGrey};
    b.colorsUsed = 4;
    b.rows = std::move(rows);
    return b;
}

void expectRefused(const BmpBuilder& b, const std::string& message)
{
    const Outcome o = decode(b.build());
    EXPECT_FALSE(o.image);
    EXPECT_EQ(o.error, message);
}
}  // namespace

TEST(BitmapDecode, TwentyFourBitRowsDropTheirPaddingAndKeepTheirOrder)
{
    BmpBuilder b;
    b.width = 3;
    b.height = 2;
    b.rows = {packRow24({kRed, kGreen, kBlue}), packRow24({kGrey, kBlue, kRed})};
    ASSERT_EQ(b.build().size(), b.pixelOffset() + 2 * 12);

    const Outcome o = decode(b.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(o.image->width, 3);
    EXPECT_EQ(o.image->height, 2);
    ASSERT_EQ(o.image->pixels.size(), 18u);
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kRed);
    EXPECT_EQ(pixelAt(*o.image, 2, 0), kBlue);
    EXPECT_EQ(pixelAt(*o.image, 0, 1), kGrey);
    EXPECT_EQ(pixelAt(*o.image, 2, 1), kRed);
}

TEST(BitmapDecode, IndexedDepthsReadTheirColourTable)
{
    // 8 bits: one index per byte.
    Outcome o = decode(indexed(8, 3, {{2, 0, 3}}).build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kBlue);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kRed);
    EXPECT_EQ(pixelAt(*o.image, 2, 0), kGrey);

    // 4 bits: high nibble first.
    o = decode(indexed(4, 3, {{0x13, 0x20}}).build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kGreen);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kGrey);
    EXPECT_EQ(pixelAt(*o.image, 2, 0), kBlue);

    // 1 bit: most significant bit first, across a byte boundary.
    BmpBuilder mono = indexed(1, 10, {{0b10100000, 0b01000000}});
    mono.colorsUsed = 0;
    mono.table = {kGrey, kBlue};
    o = decode(mono.build());
    ASSERT_TRUE(o.image) << o.error;
    const Rgb expected[10] = {kBlue, kGrey, kBlue, kGrey, kGrey, kGrey, kGrey, kGrey, kGrey, kBlue};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(pixelAt(*o.image, x, 0), expected[x]) << "pixel " << x;
}

TEST(BitmapDecode, CoreHeaderAndBareDibAreAccepted)
{
    BmpBuilder core = indexed(8, 2, {{1, 3}, {0, 2}});
    core.headerSize = 12;
    core.colorsUsed = 0;
    core.table.resize(256, kRed);
    Outcome o = decode(core.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kGreen);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kGrey);
    EXPECT_EQ(pixelAt(*o.image, 1, 1), kBlue);

    // Without a file header the pixels follow the table, whose length comes
    // from the colour count in the header.
    BmpBuilder bare = indexed(8, 2, {{3, 1}});
    bare.fileHeader = false;
    o = decode(bare.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kGrey);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kGreen);
}

TEST(BitmapDecode, ColourCountAboveTheDepthIsCapped)
{
    BmpBuilder b = indexed(1, 2, {{0b01000000}});
    b.fileHeader = false;
    b.table = {kRed, kGreen};
    b.colorsUsed = 300;
    const Outcome o = decode(b.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kRed);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kGreen);
}

TEST(BitmapDecode, TopDownPicturesAreTurnedBottomFirst)
{
    BmpBuilder b;
    b.width = 1;
    b.height = -2;
    b.rows = {packRow24({kRed}), packRow24({kBlue})};
    const Outcome o = decode(b.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(o.image->height, 2);
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kBlue);
    EXPECT_EQ(pixelAt(*o.image, 0, 1), kRed);
}

TEST(BitmapDecode, SixteenAndThirtyTwoBitPixels)
{
    BmpBuilder wide;
    wide.bits = 32;
    wide.width = 2;
    wide.rows = {{230, 20, 10, 0, 0, 200, 0, 0}};
    Outcome o = decode(wide.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), kBlue);
    EXPECT_EQ(pixelAt(*o.image, 1, 0), kGreen);

    BmpBuilder packed;
    packed.bits = 16;
    packed.width = 1;
    packed.rows = {{0x1F, 0x7C}};  // red 31, green 0, blue 31
    o = decode(packed.build());
    ASSERT_TRUE(o.image) << o.error;
    EXPECT_EQ(pixelAt(*o.image, 0, 0), (Rgb{255, 0, 255}));
}

TEST(BitmapDecode, OtherHeadersAreUnknownFormats)
{
    for (uint32_t size : {108u, 124u, 64u, 0u, 16u}) {
        BmpBuilder b;
        b.headerSize = size < 40 ? 40 : size;
        b.rows = {packRow24({kRed})};
        std::vector<uint8_t> bytes = b.build();
        bytes[14] = static_cast<uint8_t>(size);
        const Outcome o = decode(bytes);
        EXPECT_FALSE(o.image) << size;
        EXPECT_EQ(o.error, "no es una imagen BMP que el juego sepa leer") << size;
    }
    for (const std::vector<uint8_t>& stub : {std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M'},
                                             std::vector<uint8_t>{40, 0, 0}}) {
        const Outcome o = decode(stub);
        EXPECT_FALSE(o.image);
        EXPECT_EQ(o.error, "no es una imagen BMP que el juego sepa leer");
    }
    EXPECT_FALSE(decodeBitmap(nullptr, 100, nullptr));
}

TEST(BitmapDecode, RefusesDimensionsBeforeTakingMemory)
{
    const std::string conversion = "la imagen BMP está dañada o usa un formato que el juego no lee";
    const std::string memory =
        "la imagen es demasiado grande (se admiten hasta 16384 puntos de lado y 16 millones en total)";
    struct Case {
        int32_t width, height;
        const std::string& message;
    } cases[] = {
        {0, 1, conversion},          {1, 0, conversion},        {-3, 1, conversion},
        {1, INT_MIN, conversion},    {INT_MAX, INT_MAX, memory}, {kMaxBitmapSide + 1, 1, memory},
        {1, -(kMaxBitmapSide + 1), memory}, {5000, 5000, memory},
    };
    for (const Case& c : cases) {
        BmpBuilder b;
        b.width = c.width;
        b.height = c.height;
        b.rows = {packRow24({kRed})};
        const Outcome o = decode(b.build());
        EXPECT_FALSE(o.image) << c.width << "x" << c.height;
        EXPECT_EQ(o.error, c.message) << c.width << "x" << c.height;
    }
}

TEST(BitmapDecode, RefusesWhatTheFileDoesNotHold)
{
    const std::string conversion = "la imagen BMP está dañada o usa un formato que el juego no lee";
    // A pixel naming a colour beyond the table.
    BmpBuilder b = indexed(8, 2, {{1, 4}});
    expectRefused(b, conversion);

    // A colour table longer than the file.
    b = indexed(8, 1, {});
    b.height = 1;
    b.colorsUsed = 200;
    expectRefused(b, conversion);

    // Unknown depths and compressed pixels.
    b = indexed(2, 4, {{0}});
    expectRefused(b, conversion);
    b = indexed(8, 1, {{0}});
    b.compression = 1;
    expectRefused(b, conversion);

    // Pixel data short by one byte, and a pixel offset past the end.
    b = BmpBuilder{};
    b.rows = {packRow24({kRed})};
    std::vector<uint8_t> bytes = b.build();
    bytes.pop_back();
    EXPECT_EQ(decode(bytes).error, conversion);
    for (uint32_t offset : {static_cast<uint32_t>(b.build().size() + 1), 0xFFFFFFFFu}) {
        bytes = b.build();
        for (int i = 0; i < 4; ++i)
            bytes[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
        EXPECT_EQ(decode(bytes).error, conversion);
    }
}

TEST(BitmapDecode, EveryTruncatedFileIsRefused)
{
    BmpBuilder b = indexed(4, 5, {{0x01, 0x23, 0x00}, {0x32, 0x10, 0x00}});
    const std::vector<uint8_t> whole = b.build();
    ASSERT_TRUE(decode(whole).image);
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const Outcome o = decode(part);
        EXPECT_FALSE(o.image) << size;
        EXPECT_FALSE(o.error.empty()) << size;
    }
}

TEST(BitmapFile, NamesTheFileItCannotOpen)
{
    const auto dir = std::filesystem::temp_directory_path() / "quorvane-bitmap-file-test";
    std::filesystem::create_directories(dir);

    // The name is data: format directives in it are printed as they are.
    const std::string empty = (dir / "vac%s%n.bmp").string();
    writeFile(empty, {});
    std::string error;
    EXPECT_FALSE(decodeBitmapFile(empty, &error));
    EXPECT_EQ(error, "No se pudo abrir la imagen " + empty + ": está vacía.");

    const std::string missing = (dir / "missing.bmp").string();
    std::remove(missing.c_str());
    EXPECT_FALSE(decodeBitmapFile(missing, &error));
    EXPECT_EQ(error, "No se pudo abrir la imagen " + missing + ": no existe.");

    // What is there but is no file says what it is, and a FIFO with no
    // writer is refused at once instead of blocking the start.
    const std::string pipe = (dir / "pipe.bmp").string();
    std::remove(pipe.c_str());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, const char*> notFiles[] = {
        {dir.string(), "es una carpeta, no un archivo"}, {pipe, "es una tubería (FIFO), no un archivo"}};
    for (const auto& [name, what] : notFiles) {
        EXPECT_FALSE(decodeBitmapFile(name, &error));
        EXPECT_EQ(error, "No se pudo abrir la imagen " + name + ": " + what + ".");
    }

    BmpBuilder b;
    b.rows = {packRow24({kGreen})};
    const std::string good = (dir / "good.bmp").string();
    writeFile(good, b.build());
    const auto image = decodeBitmapFile(good, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(pixelAt(*image, 0, 0), kGreen);

    std::filesystem::remove_all(dir);
}
