// BMP files, good and bad: padded rows come out packed RGB, bottom row first; a file
// the reader cannot use gives an empty image and one line naming it.
#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string path = testing::TempDir() + "bmp_reader_test.bmp";

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

TEST(BmpReader, ReadsGoodFilesBottomRowFirstAndNamesTheOthersInOneLine) {
    // Header size and shape; the bad files patch a good one (a value of so many bytes at an offset) or keep its start.
    const struct { uint32_t info; int32_t width, height; size_t at = 0; uint32_t value = 0; int bytes = 0, keep = -1; }
    files[] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}, {40, 4, 4, 0, 0, 0, 0},
        {40, 4, 4, 0, 0, 0, 20}, {40, 4, 4, 0, 0, 0, 54 + 47}, {40, 4, 4, 14, 64, 4}, {40, 4, 4, 28, 32, 2},
        {40, 4, 4, 30, 1, 4}, {40, 4, 4, 18, 0, 4}, {40, 4, 4, 22, 0, 4}, {40, 4, 4, 18, 0xfffffffe, 4},
        {40, 4, 4, 18, 0x7fffffff, 4}, {40, 4, 4, 22, 0x80000000u, 4}, {40, 4, 4, 10, 0xfffffff0u, 4}};
    for (const auto& f : files) {
        const bool good = f.bytes == 0 && f.keep < 0;
        std::vector<uint8_t> bytes = makeBmp(f.info, f.width, f.height);
        put(&bytes, f.at, f.value, f.bytes);
        if (f.keep >= 0) bytes.resize(size_t(f.keep));
        std::ofstream(path).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        testing::internal::CaptureStdout();
        std::unique_ptr<RgbImage> image = loadBmp(path.c_str());
        const std::string out = testing::internal::GetCapturedStdout();
        const int rows = good ? std::abs(f.height) : 0;
        std::vector<uint8_t> rgb;
        for (int i = 0; i < f.width * rows; ++i) {  // top-down rows turn over
            int stored = f.height < 0 ? (rows - 1 - i / f.width) * f.width + i % f.width : i;
            rgb.insert(rgb.end(), {uint8_t(stored + 200), uint8_t(stored + 100), uint8_t(stored)});
        }
        EXPECT_TRUE(image->width == (good ? f.width : 0) && image->height == rows && image->pixels == rgb)
            << "row " << &f - files;
        EXPECT_TRUE(good ? out.empty() : out.find(path) != std::string::npos && out.find('\n') == out.size() - 1)
            << out;
    }
}
