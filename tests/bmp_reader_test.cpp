#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string writeFile(const std::vector<uint8_t>& bytes) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/bmp_reader_test.XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    std::string path = dir + "/picture.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

void put(std::vector<uint8_t>* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose stored pixel i (in file order) is B=i, G=i+100, R=i+200.
std::vector<uint8_t> makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    uint32_t start = 14 + infoSize, rowSize = (uint32_t(width) * 3 + 3) / 4 * 4;
    uint32_t rows = uint32_t(std::abs(height));
    std::vector<uint8_t> b(start + rowSize * rows, 0);
    put(&b, 10, start, 4);
    put(&b, 14, infoSize, 4);
    bool os2 = infoSize == 12;
    put(&b, 18, uint32_t(width), os2 ? 2 : 4);
    put(&b, os2 ? 20 : 22, uint32_t(height), os2 ? 2 : 4);
    put(&b, os2 ? 24 : 28, 24, 2);
    for (uint32_t i = 0; i < uint32_t(width) * rows; ++i) {
        uint8_t* p = &b[start + i / width * rowSize + 3 * (i % width)];
        p[0] = uint8_t(i), p[1] = uint8_t(i + 100), p[2] = uint8_t(i + 200);
    }
    return b;
}

void expectPixels(const RgbImage& image, bool rowsReversed) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int stored = (rowsReversed ? image.height - 1 - y : y) * image.width + x;
            const uint8_t* p = &image.pixels[3 * (y * image.width + x)];
            EXPECT_EQ(p[0], uint8_t(stored + 200));
            EXPECT_EQ(p[1], uint8_t(stored + 100));
            EXPECT_EQ(p[2], uint8_t(stored));
        }
    }
}

}  // namespace

TEST(BmpReader, ReadsPaddedRowsIntoPackedRgbBottomRowFirst) {
    const int32_t shapes[][3] = {{40, 2, 2}, {40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}};
    for (const auto& [info, width, height] : shapes) {
        SCOPED_TRACE(std::to_string(info) + " " + std::to_string(width));
        auto image = loadBmp(writeFile(makeBmp(info, width, height)).c_str());
        ASSERT_EQ(image->width, width);
        ASSERT_EQ(image->height, height);
        ASSERT_EQ(image->pixels.size(), size_t(width * height * 3));
        expectPixels(*image, false);
    }
    auto topDown = loadBmp(writeFile(makeBmp(40, 3, -4)).c_str());
    ASSERT_EQ(topDown->height, 4);
    expectPixels(*topDown, true);
}

TEST(BmpReader, FilesItCannotReadGiveAnEmptyImageAndALine) {
    // Each case patches a good 4 x 4 file (value of so many bytes at an offset), or keeps only its start.
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
        int keep;  // -1: the whole file
    };
    const Case cases[] = {
        {"empty", 0, 0, 0, 0}, {"header only", 0, 0, 0, 20}, {"short pixels", 0, 0, 0, 54 + 47},
        {"info size 64", 14, 64, 4, -1}, {"32 bits", 28, 32, 2, -1}, {"compressed", 30, 1, 4, -1},
        {"zero width", 18, 0, 4, -1}, {"zero height", 22, 0, 4, -1}, {"negative width", 18, 0xfffffffe, 4, -1},
        {"huge width", 18, 0x7fffffff, 4, -1}, {"most negative height", 22, 0x80000000u, 4, -1},
        {"offset past the end", 10, 0xfffffff0u, 4, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = makeBmp(40, 4, 4);
        if (c.bytes) put(&bytes, c.at, c.value, c.bytes);
        if (c.keep >= 0) bytes.resize(size_t(c.keep));
        testing::internal::CaptureStdout();
        auto image = loadBmp(writeFile(bytes).c_str());
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(image->width, 0);
        EXPECT_EQ(image->height, 0);
        EXPECT_TRUE(image->pixels.empty());
        EXPECT_NE(out.find("picture.bmp"), std::string::npos) << out;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBmp("/nonexistent/picture.bmp")->width, 0);
    testing::internal::GetCapturedStdout();
}
