#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string path = testing::TempDir() + "bmp_reader_test.bmp";

// Reads the bytes as a BMP file, with what the reader printed.
std::pair<std::unique_ptr<RgbImage>, std::string> readBmp(const std::vector<uint8_t>& bytes) {
    std::ofstream(path).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    testing::internal::CaptureStdout();
    std::unique_ptr<RgbImage> image = loadBmp(path.c_str());
    return {std::move(image), testing::internal::GetCapturedStdout()};
}

void put(std::vector<uint8_t>* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose stored pixel i (in file order) is B=i, G=i+100, R=i+200; rows padded to 4 bytes.
std::vector<uint8_t> makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    const int start = 14 + int(infoSize), rowSize = (width * 3 + 3) / 4 * 4;
    const int size = infoSize == 12 ? 2 : 4;  // OS/2 headers hold 16-bit sizes
    std::vector<uint8_t> b(size_t(start + rowSize * std::abs(height)), 0);
    put(&b, 10, start, 4), put(&b, 14, infoSize, 4), put(&b, 18, uint32_t(width), size);
    put(&b, 18 + size, uint32_t(height), size), put(&b, 20 + 2 * size, 24, 2);
    for (int i = 0; i < width * std::abs(height); ++i)
        for (int c = 0; c < 3; ++c) b[size_t(start + i / width * rowSize + 3 * (i % width) + c)] = uint8_t(i + 100 * c);
    return b;
}

}  // namespace

TEST(BmpReader, ReadsPaddedRowsIntoPackedRgbBottomRowFirst) {
    const int32_t shapes[][3] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}};
    for (const auto& [info, width, height] : shapes) {
        auto [image, out] = readBmp(makeBmp(info, width, height));
        const int rows = std::abs(height);
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
        auto [image, out] = readBmp(file);
        EXPECT_TRUE(image->width == 0 && image->height == 0 && image->pixels.empty()) << at << " " << keep;
        EXPECT_NE(out.find(path), std::string::npos) << out;
    }
}
