// BMP and TGA files, good and bad: their pixels, or no picture and one line naming the file; the shader-source text.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "assets/bmp_reader.h"
#include "assets/tga_reader.h"
#include "shell/shader_program.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string path = testing::TempDir() + "readers_test.img";

// Writes the bytes to the test's file and hands its path to read; returns what was printed, on either stream.
std::string printedReading(const Bytes& bytes, const std::function<void(const char*)>& read) {
    std::ofstream(path).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    read(path.c_str());
    return testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
}

void put(Bytes* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose stored pixel i (in file order) is B=i, G=i+100, R=i+200; rows padded to 4 bytes.
Bytes makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    const int start = 14 + int(infoSize), rowSize = (width * 3 + 3) / 4 * 4;
    const int size = infoSize == 12 ? 2 : 4;  // OS/2 headers hold 16-bit sizes
    Bytes b(size_t(start + rowSize * std::abs(height)), 0);
    put(&b, 10, start, 4), put(&b, 14, infoSize, 4), put(&b, 18, uint32_t(width), size);
    put(&b, 18 + size, uint32_t(height), size), put(&b, 20 + 2 * size, 24, 2);
    for (int i = 0; i < width * std::abs(height); ++i)
        for (int c = 0; c < 3; ++c) b[size_t(start + i / width * rowSize + 3 * (i % width) + c)] = uint8_t(i + 100 * c);
    return b;
}

// An 18-byte TGA header of the given type, size and depth, followed by the body.
Bytes tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, Bytes body = {}) {
    Bytes header = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                    uint8_t(height >> 8), bits, 0};
    return header.insert(header.end(), body.begin(), body.end()), header;
}

bool oneLineNamingTheFile(const std::string& out) {
    return out.find(path) != std::string::npos && out.find('\n') == out.size() - 1;
}

}  // namespace

TEST(BmpReader, ReadsGoodFilesBottomRowFirstAndNamesTheOthersInOneLine) {
    // Header size and shape; the bad files patch a good one (a value of so many bytes at an offset) or keep its start.
    const struct { uint32_t info; int32_t width, height; size_t at = 0; uint32_t value = 0; int bytes = 0, keep = -1; }
    files[] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}, {40, 4, 4, 0, 0, 0, 0},
        {40, 4, 4, 0, 0, 0, 20}, {40, 4, 4, 0, 0, 0, 54 + 47}, {40, 4, 4, 14, 64, 4}, {40, 4, 4, 28, 32, 2},
        {40, 4, 4, 30, 1, 4}, {40, 4, 4, 18, 0, 4}, {40, 4, 4, 22, 0, 4}, {40, 4, 4, 10, 0xfffffff0u, 4}};
    for (const auto& f : files) {
        const bool good = f.bytes == 0 && f.keep < 0;
        Bytes bytes = makeBmp(f.info, f.width, f.height);
        put(&bytes, f.at, f.value, f.bytes);
        if (f.keep >= 0) bytes.resize(size_t(f.keep));
        std::unique_ptr<RgbImage> image;
        const std::string out = printedReading(bytes, [&](const char* file) { image = loadBmp(file); });
        const int rows = good ? std::abs(f.height) : 0;
        Bytes rgb;
        for (int i = 0; i < f.width * rows; ++i) {  // top-down rows turn over
            int stored = f.height < 0 ? (rows - 1 - i / f.width) * f.width + i % f.width : i;
            rgb.insert(rgb.end(), {uint8_t(stored + 200), uint8_t(stored + 100), uint8_t(stored)});
        }
        EXPECT_TRUE(image->width == (good ? f.width : 0) && image->height == rows && image->pixels == rgb)
            << "row " << &f - files;
        EXPECT_TRUE(good ? out.empty() : oneLineNamingTheFile(out)) << out;
    }
}

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
        bool loaded = false;
        const std::string out = printedReading(bytes, [&](const char* file) { loaded = loadTgaTexture(file, &image); });
        const std::string named = message.rfind("ERROR", 0) == 0 ? message : path + ": " + message;
        EXPECT_EQ(out, message.empty() ? "" : named + "\n");
        EXPECT_TRUE(loaded == !pixels.empty() && image.data == pixels &&
                    (pixels.empty() || image.format == (bytes[16] == 32 ? GL_RGBA : GL_RGB)));
    }
}

TEST(TerrainTga, ReadsColourAndGreyImagesAndReportsOthersInOneLine) {
    Bytes mapped = tga(2, 2, 1, 24, {'i', 'd', 9, 9, 9, 9, 9, 9, 0x10, 0x20, 0x30, 1, 2, 3});
    mapped[0] = 2, mapped[1] = 1, mapped[5] = 2, mapped[7] = 24;  // an ID of 2 bytes, a colour map of 2 entries
    const std::tuple<Bytes, int, Bytes> cases[] = {{tga(3, 2, 2, 8, {1, 2, 3, 4}), 0, {1, 2, 3, 4}},
        {mapped, 0, {0x30, 0x20, 0x10, 3, 2, 1}}, {{0, 0, 3, 0}, -4, {}}, {tga(1, 2, 2, 8), -3, {}},
        {tga(10, 2, 2, 24), -1, {}}, {tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), -1, {}}, {tga(3, 2, 2, 8, {1, 2, 3}), -4, {}}};
    for (const auto& [bytes, status, pixels] : cases) {
        std::unique_ptr<TgaImage> image;
        const std::string out = printedReading(bytes, [&](const char* file) { image = loadTerrainTga(file); });
        EXPECT_TRUE(image->status == status && image->data == pixels) << status;
        EXPECT_TRUE(status ? oneLineNamingTheFile(out) : out.empty()) << out;
    }
}

// The shader loader names an unreadable or empty file itself and draws on without shaders: the reader says null.
TEST(ReadTextFile, YieldsNullForMissingEmptyAndDirectoryAndTheWholeTextOtherwise) {
    for (const char* missing : {"/nonexistent/gorvanka.vert", "/tmp"}) EXPECT_EQ(readTextFile(missing), nullptr);
    for (std::string content : {"", "a\r\nb\r\n"}) {
        std::ofstream(path, std::ios::binary) << content;
        char* text = readTextFile(path.c_str());
        EXPECT_EQ(text ? std::string(text) : "(null)", content.empty() ? "(null)" : content);
        std::free(text);
    }
}
