#include "assets/tga_reader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string writeFile(const std::string& name, const Bytes& bytes) {
    static char pattern[] = "/tmp/tga_reader_test.XXXXXX";
    static const std::string dir = mkdtemp(pattern);
    std::ofstream(dir + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return dir + "/" + name;
}

// An 18-byte header of the given type and size, followed by the pixel bytes.
Bytes tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, Bytes body = {}) {
    Bytes bytes = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                   uint8_t(height), uint8_t(height >> 8), bits, 0};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes with(Bytes bytes, size_t at, uint8_t value) {
    bytes[at] = value;
    return bytes;
}

// A refused file gives no pixels; message "" means it must print nothing.
void expectTexture(const std::string& path, const Bytes& pixels, uint32_t format, const std::string& message) {
    SCOPED_TRACE(message);
    TextureImage image{};
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadTgaTexture(path.c_str(), &image), !pixels.empty());
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(image.data, pixels);
    EXPECT_TRUE(!format || image.format == format) << image.format;
    EXPECT_TRUE(message.empty() ? messages.empty() : messages.find(message) != std::string::npos) << messages;
}

// Every refusal prints a line naming the file.
void expectTerrain(const std::string& path, int status, const Bytes& pixels) {
    SCOPED_TRACE(status);
    testing::internal::CaptureStdout();
    auto image = loadTerrainTga(path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->status, status);
    EXPECT_EQ(image->data, pixels);
    EXPECT_EQ(out.find(path) != std::string::npos, status != 0) << out;
}

}  // namespace

TEST(TgaTexture, ReadsGoodFilesAsRgbAndRefusesBadOnesWithTheirMessage) {
    expectTexture(writeFile("texture.tga", tga(2, 2, 1, 24, {0x10, 0x20, 0x30, 1, 2, 3})), {0x30, 0x20, 0x10, 3, 2, 1},
                  GL_RGB, "");
    // A run of four, then three raw pixels; the bytes after the last pixel are not needed.
    Bytes packed = tga(10, 7, 1, 32, {0x83, 1, 2, 3, 4, 0x02, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33, 99, 99});
    Bytes unpacked = {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 12, 11, 10, 13, 22, 21, 20, 23, 32, 31, 30, 33};
    expectTexture(writeFile("texture.tga", packed), unpacked, GL_RGBA, "");
    // Sizes the file cannot hold are refused before any pixel block is made; 16-bit run-length pixels fail silently.
    const std::string type = "TGA file be type 2 or type 10 ", size = "Invalid texture information";
    const std::string data = "Could not read image data", rle = "Could not read RLE header";
    const std::string many = "Too many pixels read";
    const std::pair<Bytes, std::string> refused[] = {{{0, 0, 2}, "Could not read file header"},
        {with(tga(2, 1, 1, 24), 0, 3), type}, {tga(3, 1, 1, 8), type}, {tga(2, 1, 1, 16, {1, 2}), size},
        {{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, "ERROR: Could not read info header"}, {tga(2, 0, 4, 24), size},
        {tga(2, 0xffff, 0xffff, 32, {1, 2, 3}), "ERROR: " + data}, {tga(2, 2, 2, 24, {1, 2, 3}), "ERROR: " + data},
        {tga(10, 0xffff, 0xffff, 32, {0xff, 1, 2, 3, 4}), rle}, {tga(10, 2, 1, 24, {0x80, 1, 2, 3}), rle},
        {tga(10, 2, 1, 24, {0x01, 1, 2, 3}), data}, {tga(10, 2, 1, 24, {0x81, 1, 2}), "Could not read from file"},
        {tga(10, 2, 1, 24, {0x82, 1, 2, 3}), many}, {tga(10, 2, 1, 24, {0x80, 1, 2, 3, 0x01, 1, 2, 3, 4, 5, 6}), many},
        {tga(10, 1, 1, 16, {0x80, 1, 2}), ""}};
    for (const auto& [bytes, message] : refused) expectTexture(writeFile("texture.tga", bytes), {}, 0, message);
    expectTexture("/nonexistent/missing.tga", {}, 0, "Could not open texture file");
}

TEST(TerrainTga, ReadsColourAndGreyImagesAndReportsUnusableOnesThroughStatus) {
    expectTerrain(writeFile("terrain.tga", tga(3, 2, 2, 8, {1, 2, 3, 4})), 0, {1, 2, 3, 4});
    // Two ID bytes and a colour map of two 24-bit entries come before the colour pixels.
    Bytes colour = tga(2, 2, 1, 24, {'i', 'd', 9, 9, 9, 9, 9, 9, 0x10, 0x20, 0x30, 1, 2, 3});
    colour[0] = 2, colour[1] = 1, colour[5] = 2, colour[7] = 24;
    expectTerrain(writeFile("terrain.tga", colour), 0, {0x30, 0x20, 0x10, 3, 2, 1});
    const std::pair<Bytes, int> refused[] = {{{0, 0, 3, 0}, -4}, {tga(1, 2, 2, 8), -3}, {tga(10, 2, 2, 24), -1},
        {tga(3, 0, 2, 8), -1}, {with(tga(3, 2, 2, 8, {1, 2, 3, 4}), 13, 0x80), -1}, {tga(3, 1, 1, 4, {1}), -1},
        {tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), -1}, {tga(2, 0x7fff, 0x7fff, 32, {1, 2, 3}), -4},
        {tga(3, 2, 2, 8, {1, 2, 3}), -4}};
    for (const auto& [bytes, status] : refused) expectTerrain(writeFile("terrain.tga", bytes), status, {});
    expectTerrain("/nonexistent/missing.tga", -5, {});
}

TEST(TerrainTga, GreyscaleWeighsColoursAndTruncates) {
    const std::pair<TgaImage, Bytes> colour[] = {
        {{0, 2, 24, 4, 1, {255, 255, 255, 100, 150, 200, 10, 10, 10, 0, 0, 255}}, {255, 140, 9, 28}},
        {{0, 2, 32, 1, 2, {100, 150, 200, 7, 255, 255, 255, 0}}, {140, 255}}};
    for (auto [image, grey] : colour) {
        tgaToGreyscale(&image);
        EXPECT_TRUE(image.bitsPerPixel == 8 && image.imageType == 3);
        EXPECT_EQ(image.data, grey);
    }
    // Images without whole colour pixels for every position are left as they are.
    for (TgaImage image : {TgaImage{0, 2, 24, 2, 2, {1, 2, 3}}, {0, 2, 16, 1, 1, {1, 2}}, {0, 2, 24, -1, 2, {}}}) {
        TgaImage before = image;
        tgaToGreyscale(&image);
        EXPECT_TRUE(image.data == before.data && image.bitsPerPixel == before.bitsPerPixel);
    }
}
