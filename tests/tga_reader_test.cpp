// TGA files, good and bad, as textures and as terrain: their pixels, or one line naming the file.
#include "assets/tga_reader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string path = testing::TempDir() + "tga_reader_test.tga";

const char* writeFile(const Bytes& bytes) {
    std::ofstream(path).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.c_str();
}

// An 18-byte header of the given type, size and depth, followed by the body.
Bytes tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, Bytes body = {}) {
    Bytes header = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                    uint8_t(height >> 8), bits, 0};
    return header.insert(header.end(), body.begin(), body.end()), header;
}

}  // namespace

// File, pixels read (none: refused), message shown ("ERROR" ones lack the file's name); the RLE file holds a run of
// 3, 2 raw and a spare byte.
TEST(TgaTexture, ReadsPixelsAsRgbOrShowsWhyNot) {
    const std::string data = "Could not read image data", rle = "Could not read RLE header";
    const std::tuple<Bytes, Bytes, std::string> cases[] = {
        {tga(2, 2, 1, 24, {0x10, 0x20, 0x30, 1, 2, 3}), {0x30, 0x20, 0x10, 3, 2, 1}, ""},
        {tga(10, 5, 1, 32, {0x82, 1, 2, 3, 4, 0x01, 10, 11, 12, 13, 20, 21, 22, 23, 99}),
         {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 12, 11, 10, 13, 22, 21, 20, 23}, ""},
        {{0, 0, 2}, {}, "Could not read file header"}, {tga(3, 1, 1, 8), {}, "TGA file be type 2 or type 10 "},
        {tga(2, 1, 1, 16, {1, 2}), {}, "Invalid texture information"}, {tga(2, 2, 2, 24, {1, 2}), {}, "ERROR: " + data},
        {tga(10, 0xffff, 0xffff, 32, {0xff, 1, 2, 3, 4}), {}, rle}, {tga(10, 2, 1, 24, {0x80, 1, 2, 3}), {}, rle},
        {tga(10, 2, 1, 24, {0x01, 1, 2, 3}), {}, data}, {tga(10, 2, 1, 24, {0x81, 1}), {}, "Could not read from file"},
        {tga(10, 2, 1, 24, {0x82, 1, 2, 3}), {}, "Too many pixels read"}, {tga(10, 1, 1, 16, {0x80, 1, 2}), {}, ""}};
    for (const auto& [bytes, pixels, message] : cases) {
        TextureImage image{};
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadTgaTexture(writeFile(bytes), &image), !pixels.empty());
        const std::string named = message.rfind("ERROR", 0) == 0 ? message : path + ": " + message;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), message.empty() ? "" : named + "\n");
        EXPECT_TRUE(image.data == pixels && (pixels.empty() || image.format == (bytes[16] == 32 ? GL_RGBA : GL_RGB)));
    }
}

TEST(TerrainTga, ReadsColourAndGreyImagesAndReportsOthersInOneLine) {
    Bytes mapped = tga(2, 2, 1, 24, {'i', 'd', 9, 9, 9, 9, 9, 9, 0x10, 0x20, 0x30, 1, 2, 3});
    mapped[0] = 2, mapped[1] = 1, mapped[5] = 2, mapped[7] = 24;  // an ID of 2 bytes, a colour map of 2 entries
    const std::tuple<Bytes, int, Bytes> cases[] = {{tga(3, 2, 2, 8, {1, 2, 3, 4}), 0, {1, 2, 3, 4}},
        {mapped, 0, {0x30, 0x20, 0x10, 3, 2, 1}}, {{0, 0, 3, 0}, -4, {}}, {tga(1, 2, 2, 8), -3, {}},
        {tga(10, 2, 2, 24), -1, {}}, {tga(3, 0, 2, 8), -1, {}}, {tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), -1, {}},
        {tga(3, 2, 2, 8, {1, 2, 3}), -4, {}}};
    for (const auto& [bytes, status, pixels] : cases) {
        testing::internal::CaptureStdout();
        auto image = loadTerrainTga(writeFile(bytes));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(image->status == status && image->data == pixels) << status;
        EXPECT_EQ(out.find(path + "\": ") != std::string::npos && out.find('\n') == out.size() - 1, status != 0) << out;
    }
}
