#include "assets/tga_reader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/tga_reader_test.XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

// An 18-byte header of the given type and size, followed by the pixel bytes.
std::vector<uint8_t> tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, std::vector<uint8_t> body = {}) {
    std::vector<uint8_t> bytes = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                                  uint8_t(height), uint8_t(height >> 8), bits, 0};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

struct TextureResult {
    bool ok;
    TextureImage image;
    std::string messages;
};

TextureResult readTexture(const std::vector<uint8_t>& bytes) {
    TextureResult result{false, {}, ""};
    std::string path = writeFile("texture.tga", bytes);
    testing::internal::CaptureStderr();
    result.ok = loadTgaTexture(path.c_str(), &result.image);
    result.messages = testing::internal::GetCapturedStderr();
    return result;
}

}  // namespace

TEST(TgaTexture, ReadsUncompressedAndRunLengthPixelsAsRgb) {
    TextureResult plain = readTexture(tga(2, 2, 1, 24, {0x10, 0x20, 0x30, 1, 2, 3}));
    ASSERT_TRUE(plain.ok) << plain.messages;
    EXPECT_EQ(plain.image.format, uint32_t(GL_RGB));
    EXPECT_EQ(plain.image.data, (std::vector<uint8_t>{0x30, 0x20, 0x10, 3, 2, 1}));

    // A run of four, then three raw pixels; the bytes after the last pixel are not needed.
    TextureResult packed = readTexture(tga(10, 7, 1, 32, {0x83, 1, 2, 3, 4, 0x02, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33, 99, 99}));
    ASSERT_TRUE(packed.ok) << packed.messages;
    EXPECT_EQ(packed.image.format, uint32_t(GL_RGBA));
    EXPECT_EQ(packed.image.width, 7u);
    EXPECT_EQ(packed.image.data,
              (std::vector<uint8_t>{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 12, 11, 10, 13, 22, 21, 20, 23,
                                    32, 31, 30, 33}));
    EXPECT_EQ(packed.messages, "");
}

TEST(TgaTexture, RefusesBadFilesWithTheirMessageAndNoPixels) {
    std::vector<uint8_t> withId = tga(2, 1, 1, 24);
    withId[0] = 3;
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {{0, 0, 2}, "Could not read file header"},
        {withId, "TGA file be type 2 or type 10 "},
        {tga(3, 1, 1, 8), "TGA file be type 2 or type 10 "},
        {{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, "ERROR: Could not read info header"},
        {tga(2, 1, 1, 16, {1, 2}), "Invalid texture information"},
        {tga(2, 0, 4, 24), "Invalid texture information"},
        // Sizes the file cannot hold are refused before any pixel block is made.
        {tga(2, 0xffff, 0xffff, 32, {1, 2, 3}), "ERROR: Could not read image data"},
        {tga(2, 2, 2, 24, {1, 2, 3}), "ERROR: Could not read image data"},
        {tga(10, 0xffff, 0xffff, 32, {0xff, 1, 2, 3, 4}), "Could not read RLE header"},
        {tga(10, 2, 1, 24, {0x80, 1, 2, 3}), "Could not read RLE header"},
        {tga(10, 2, 1, 24, {0x01, 1, 2, 3}), "Could not read image data"},
        {tga(10, 2, 1, 24, {0x81, 1, 2}), "Could not read from file"},
        {tga(10, 2, 1, 24, {0x82, 1, 2, 3}), "Too many pixels read"},
        {tga(10, 2, 1, 24, {0x80, 1, 2, 3, 0x01, 1, 2, 3, 4, 5, 6}), "Too many pixels read"},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(message);
        TextureResult result = readTexture(bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.image.data.empty());
        EXPECT_NE(result.messages.find(message), std::string::npos) << result.messages;
    }
    TextureResult silent = readTexture(tga(10, 1, 1, 16, {0x80, 1, 2}));
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(silent.messages, "");

    TextureImage image{};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadTgaTexture("/nonexistent/missing.tga", &image));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not open texture file"), std::string::npos);
}

TEST(TerrainTga, ReadsColourAndGreyImagesSkippingIdAndColourMap) {
    auto grey = loadTerrainTga(writeFile("grey.tga", tga(3, 2, 2, 8, {1, 2, 3, 4})).c_str());
    ASSERT_EQ(grey->status, 0);
    EXPECT_EQ(grey->data, (std::vector<uint8_t>{1, 2, 3, 4}));

    // Two ID bytes and a colour map of two 24-bit entries come before the pixels.
    std::vector<uint8_t> file = tga(2, 2, 1, 24, {'i', 'd', 9, 9, 9, 9, 9, 9, 0x10, 0x20, 0x30, 1, 2, 3});
    file[0] = 2, file[1] = 1, file[5] = 2, file[7] = 24;
    auto colour = loadTerrainTga(writeFile("colour.tga", file).c_str());
    ASSERT_EQ(colour->status, 0);
    EXPECT_EQ(colour->width, 2);
    EXPECT_EQ(colour->bitsPerPixel, 24);
    EXPECT_EQ(colour->data, (std::vector<uint8_t>{0x30, 0x20, 0x10, 3, 2, 1}));
}

TEST(TerrainTga, ReportsUnusableFilesThroughStatusWithoutPixels) {
    std::vector<uint8_t> negative = tga(3, 2, 2, 8, {1, 2, 3, 4});
    negative[13] = 0x80;
    const std::pair<std::vector<uint8_t>, int> cases[] = {
        {{0, 0, 3, 0}, -4},
        {tga(1, 2, 2, 8), -3},
        {tga(10, 2, 2, 24), -1},
        {tga(3, 0, 2, 8), -1},
        {negative, -1},
        {tga(3, 1, 1, 4, {1}), -1},
        {tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), -1},
        {tga(2, 0x7fff, 0x7fff, 32, {1, 2, 3}), -4},
        {tga(3, 2, 2, 8, {1, 2, 3}), -4},
    };
    for (const auto& [bytes, status] : cases) {
        SCOPED_TRACE(status);
        testing::internal::CaptureStdout();
        auto image = loadTerrainTga(writeFile("terrain.tga", bytes).c_str());
        std::string out = testing::internal::GetCapturedStdout();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->status, status);
        EXPECT_TRUE(image->data.empty());
        EXPECT_NE(out.find("terrain.tga"), std::string::npos) << out;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTerrainTga("/nonexistent/missing.tga")->status, -5);
    testing::internal::GetCapturedStdout();
}

TEST(TerrainTga, GreyscaleWeighsColoursAndTruncates) {
    TgaImage rgb{0, 2, 24, 6, 1, {255, 255, 255, 100, 150, 200, 1, 1, 1, 10, 10, 10, 0, 0, 0, 0, 0, 255}};
    tgaToGreyscale(&rgb);
    EXPECT_EQ(rgb.bitsPerPixel, 8);
    EXPECT_EQ(rgb.imageType, 3);
    EXPECT_EQ(rgb.data, (std::vector<uint8_t>{255, 140, 0, 9, 0, 28}));

    TgaImage rgba{0, 2, 32, 1, 2, {100, 150, 200, 7, 255, 255, 255, 0}};
    tgaToGreyscale(&rgba);
    EXPECT_EQ(rgba.data, (std::vector<uint8_t>{140, 255}));

    // Images without whole colour pixels for every position are left as they are.
    const TgaImage unchanged[] = {{0, 2, 24, 2, 2, {1, 2, 3}}, {0, 2, 16, 1, 1, {1, 2}}, {0, 2, 24, -1, 2, {}}};
    for (TgaImage image : unchanged) {
        std::vector<uint8_t> before = image.data;
        uint8_t bits = image.bitsPerPixel;
        tgaToGreyscale(&image);
        EXPECT_EQ(image.data, before);
        EXPECT_EQ(image.bitsPerPixel, bits);
    }
}
