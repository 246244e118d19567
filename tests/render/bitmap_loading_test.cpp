#include <filesystem>
#include <string>
#include <vector>

#include "gl_fixture.h"

namespace {
class BitmapLoading : public GlFrameTest {
protected:
    void SetUp() override
    {
        GlFrameTest::SetUp();
        other = scratch_ / "other";
        std::filesystem::create_directories(other / "Data");
    }
    void TearDown() override { std::filesystem::remove_all(other); }
    std::filesystem::path other;
    // What the loader would have shown the player.
    std::vector<std::string> shown;
    const BitmapErrorSink collect = [this](const std::string& message) { shown.push_back(message); };
};
}  // namespace

TEST_F(BitmapLoading, MissingFilesAreSilentAndBrokenOnesAreShown)
{
    EXPECT_FALSE(loadBitmap(nullptr, collect));
    EXPECT_FALSE(loadBitmap("", collect));
    EXPECT_FALSE(loadBitmap((other / "nothing.bmp").c_str(), collect));
    EXPECT_TRUE(shown.empty());

    const std::string broken = (other / "broken.bmp").string();
    writeFile(broken, {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 124, 0, 0, 0});
    EXPECT_FALSE(loadBitmap(broken.c_str(), collect));
    const std::string empty = (other / "empty.bmp").string();
    writeFile(empty, {});
    EXPECT_FALSE(loadBitmap(empty.c_str(), collect));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], broken + ": no es una imagen BMP que el juego sepa leer.");
    EXPECT_EQ(shown[1], "No se pudo abrir la imagen " + empty + ": está vacía.");
}

TEST_F(BitmapLoading, TexturesNeedBothBitmaps)
{
    const GameDir folder(other);

    // No font sheet: nothing is shown, no texture is made.
    EXPECT_FALSE(loadTextures(folder, collect));
    // The sheet alone is not enough either.
    std::filesystem::copy_file(scratch_ / "Data/Font2.bmp", other / "Data/Font2.bmp");
    EXPECT_FALSE(loadTextures(folder, collect));
    EXPECT_TRUE(shown.empty());
    // A square that cannot be decoded is shown before the start fails.
    writeFile(other / "Data/casilla.bmp", {'B', 'M'});
    EXPECT_FALSE(loadTextures(folder, collect));
    ASSERT_EQ(shown.size(), 1u);
    // Named as the game names it, wherever its folder lies.
    EXPECT_EQ(shown[0].rfind("Data/casilla.bmp: ", 0), 0u) << shown[0];
}
