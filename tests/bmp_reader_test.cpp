#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Reads the bytes as a BMP file; out receives what the reader printed.
std::unique_ptr<RgbImage> readBmp(const std::vector<uint8_t>& bytes, std::string* out) {
    std::string path = testing::TempDir() + "bmp_reader_test.bmp";
    std::ofstream(path).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    testing::internal::CaptureStdout();
    std::unique_ptr<RgbImage> image = loadBmp(path.c_str());
    *out = testing::internal::GetCapturedStdout();
    return image;
}

void put(std::vector<uint8_t>* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose stored pixel i (in file order) is B=i, G=i+100, R=i+200; rows padded to 4 bytes.
std::vector<uint8_t> makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    uint32_t start = 14 + infoSize, rowSize = (uint32_t(width) * 3 + 3) / 4 * 4, rows = uint32_t(std::abs(height));
    std::vector<uint8_t> b(start + rowSize * rows, 0);
    int size = infoSize == 12 ? 2 : 4;  // OS/2 headers hold 16-bit sizes
    put(&b, 10, start, 4), put(&b, 14, infoSize, 4), put(&b, 18, uint32_t(width), size);
    put(&b, 18 + size, uint32_t(height), size), put(&b, 20 + 2 * size, 24, 2);
    for (uint32_t i = 0; i < uint32_t(width) * rows; ++i) {
        uint8_t* p = &b[start + i / width * rowSize + 3 * (i % width)];
        p[0] = uint8_t(i), p[1] = uint8_t(i + 100), p[2] = uint8_t(i + 200);
    }
    return b;
}

}  // namespace

TEST(BmpReader, ReadsPaddedRowsIntoPackedRgbBottomRowFirst) {
    const int32_t shapes[][3] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}};
    for (const auto& [info, width, height] : shapes) {
        std::string out;
        auto image = readBmp(makeBmp(info, width, height), &out);
        int rows = std::abs(height);
        std::vector<uint8_t> rgb;
        for (int i = 0; i < width * rows; ++i) {
            int stored = height < 0 ? (rows - 1 - i / width) * width + i % width : i;  // top-down rows turn over
            rgb.insert(rgb.end(), {uint8_t(stored + 200), uint8_t(stored + 100), uint8_t(stored)});
        }
        EXPECT_TRUE(image->width == width && image->height == rows && image->pixels == rgb && out.empty()) << info;
    }
}

TEST(BmpReader, FilesItCannotReadGiveAnEmptyImageAndALineNamingThem) {
    // Each case patches a good 4 x 4 file (a value of so many bytes at an offset), or keeps only its start.
    const std::tuple<size_t, uint32_t, int, int> cases[] = {{0, 0, 0, 0}, {0, 0, 0, 20}, {0, 0, 0, 54 + 47},
        {14, 64, 4, -1}, {28, 32, 2, -1}, {30, 1, 4, -1}, {18, 0, 4, -1}, {22, 0, 4, -1}, {18, 0xfffffffe, 4, -1},
        {18, 0x7fffffff, 4, -1}, {22, 0x80000000u, 4, -1}, {10, 0xfffffff0u, 4, -1}};
    for (const auto& [at, value, bytes, keep] : cases) {
        std::vector<uint8_t> file = makeBmp(40, 4, 4);
        put(&file, at, value, bytes);
        if (keep >= 0) file.resize(size_t(keep));
        std::string out;
        auto image = readBmp(file, &out);
        EXPECT_TRUE(image->width == 0 && image->height == 0 && image->pixels.empty()) << at << " " << keep;
        EXPECT_NE(out.find("bmp_reader_test.bmp"), std::string::npos) << out;
    }
}
