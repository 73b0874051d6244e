#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string writeFile(const std::vector<uint8_t>& bytes) {
    static char dir[] = "/tmp/bmp_reader_test.XXXXXX";
    static const std::string path = std::string(mkdtemp(dir)) + "/picture.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

void put(std::vector<uint8_t>* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose stored pixel i (in file order) is B=i, G=i+100, R=i+200.
std::vector<uint8_t> makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    uint32_t start = 14 + infoSize, rowSize = (uint32_t(width) * 3 + 3) / 4 * 4, rows = uint32_t(std::abs(height));
    std::vector<uint8_t> b(start + rowSize * rows, 0);
    bool os2 = infoSize == 12;
    put(&b, 10, start, 4), put(&b, 14, infoSize, 4), put(&b, os2 ? 24 : 28, 24, 2);
    put(&b, 18, uint32_t(width), os2 ? 2 : 4), put(&b, os2 ? 20 : 22, uint32_t(height), os2 ? 2 : 4);
    for (uint32_t i = 0; i < uint32_t(width) * rows; ++i) {
        uint8_t* p = &b[start + i / width * rowSize + 3 * (i % width)];
        p[0] = uint8_t(i), p[1] = uint8_t(i + 100), p[2] = uint8_t(i + 200);
    }
    return b;
}

void expectRefused(const std::string& path) {
    testing::internal::CaptureStdout();
    auto image = loadBmp(path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(image->width == 0 && image->height == 0 && image->pixels.empty());
    EXPECT_NE(out.find("picture.bmp"), std::string::npos) << out;
}

}  // namespace

TEST(BmpReader, ReadsPaddedRowsIntoPackedRgbBottomRowFirst) {
    const int32_t shapes[][3] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}};
    for (const auto& [info, width, height] : shapes) {
        SCOPED_TRACE(std::to_string(info) + " " + std::to_string(width) + " " + std::to_string(height));
        auto image = loadBmp(writeFile(makeBmp(info, width, height)).c_str());
        int rows = std::abs(height);
        ASSERT_TRUE(image->width == width && image->height == rows);
        ASSERT_EQ(image->pixels.size(), size_t(width * rows * 3));
        for (int i = 0; i < width * rows; ++i) {
            int stored = height < 0 ? (rows - 1 - i / width) * width + i % width : i;
            const uint8_t* p = &image->pixels[3 * i];
            EXPECT_TRUE(p[0] == uint8_t(stored + 200) && p[1] == uint8_t(stored + 100) && p[2] == uint8_t(stored)) << i;
        }
    }
}

TEST(BmpReader, FilesItCannotReadGiveAnEmptyImageAndALine) {
    // Each case patches a good 4 x 4 file (value of so many bytes at an offset), or keeps only its start.
    struct Case { const char* what; size_t at; uint32_t value; int bytes; int keep; };
    const Case cases[] = {{"empty", 0, 0, 0, 0}, {"header only", 0, 0, 0, 20}, {"short pixels", 0, 0, 0, 54 + 47},
        {"info size 64", 14, 64, 4, -1}, {"32 bits", 28, 32, 2, -1}, {"compressed", 30, 1, 4, -1},
        {"zero width", 18, 0, 4, -1}, {"zero height", 22, 0, 4, -1}, {"negative width", 18, 0xfffffffe, 4, -1},
        {"huge width", 18, 0x7fffffff, 4, -1}, {"most negative height", 22, 0x80000000u, 4, -1},
        {"offset past the end", 10, 0xfffffff0u, 4, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = makeBmp(40, 4, 4);
        if (c.bytes) put(&bytes, c.at, c.value, c.bytes);
        if (c.keep >= 0) bytes.resize(size_t(c.keep));
        expectRefused(writeFile(bytes));
    }
    expectRefused("/nonexistent/picture.bmp");
}
