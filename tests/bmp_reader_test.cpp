#include "assets/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string tempPath(const std::string& name) {
    static std::string dir = [] {
        char pattern[] = "/tmp/bmp_reader_test.XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir + "/" + name;
}

std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = tempPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

void put16(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    (*b)[at] = uint8_t(v);
    (*b)[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

struct BmpSpec {
    uint32_t infoSize = 40;
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bits = 24;
    uint32_t compression = 0;
};

// A BMP whose stored pixel i (row by row, as stored) is B=i, G=i+100, R=i+200.
std::vector<uint8_t> makeBmp(const BmpSpec& spec) {
    uint32_t headerEnd = 14 + spec.infoSize;
    int32_t rows = spec.height < 0 ? -spec.height : spec.height;
    uint32_t rowSize = (uint32_t(spec.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> b(headerEnd + rowSize * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(&b, 10, headerEnd);
    put32(&b, 14, spec.infoSize);
    if (spec.infoSize == 12) {
        put16(&b, 18, uint16_t(spec.width));
        put16(&b, 20, uint16_t(spec.height));
        put16(&b, 22, 1);
        put16(&b, 24, spec.bits);
    } else {
        put32(&b, 18, uint32_t(spec.width));
        put32(&b, 22, uint32_t(spec.height));
        put16(&b, 26, 1);
        put16(&b, 28, spec.bits);
        put32(&b, 30, spec.compression);
    }
    int i = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < spec.width; ++x, ++i) {
            uint8_t* p = &b[headerEnd + y * rowSize + 3 * x];
            p[0] = uint8_t(i);
            p[1] = uint8_t(i + 100);
            p[2] = uint8_t(i + 200);
        }
    }
    return b;
}

void expectStoredOrder(const RgbImage& image, bool reversedRows) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int stored = (reversedRows ? image.height - 1 - y : y) * image.width + x;
            const uint8_t* p = &image.pixels[3 * (y * image.width + x)];
            EXPECT_EQ(p[0], uint8_t(stored + 200));
            EXPECT_EQ(p[1], uint8_t(stored + 100));
            EXPECT_EQ(p[2], uint8_t(stored));
        }
    }
}

}  // namespace

TEST(BmpReader, ReadsPaddedRowsIntoPackedRgbBottomRowFirst) {
    const BmpSpec specs[] = {{40, 2, 2}, {40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}};
    for (const BmpSpec& spec : specs) {
        SCOPED_TRACE(std::to_string(spec.infoSize) + " " + std::to_string(spec.width));
        auto image = loadBmp(writeFile("plain.bmp", makeBmp(spec)).c_str());
        ASSERT_EQ(image->width, spec.width);
        ASSERT_EQ(image->height, spec.height);
        ASSERT_EQ(image->pixels.size(), size_t(spec.width * spec.height * 3));
        expectStoredOrder(*image, false);
    }
}

TEST(BmpReader, FlipsTopDownRowsToBottomRowFirst) {
    auto image = loadBmp(writeFile("topdown.bmp", makeBmp({40, 3, -4})).c_str());
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 4);
    expectStoredOrder(*image, true);
}

TEST(BmpReader, FilesItCannotReadGiveAnEmptyImage) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    files.push_back({"empty", {}});
    std::vector<uint8_t> headerOnly = makeBmp({});
    headerOnly.resize(20);
    files.push_back({"header only", headerOnly});
    std::vector<uint8_t> shortPixels = makeBmp({40, 4, 4});
    shortPixels.pop_back();
    files.push_back({"short pixels", shortPixels});
    files.push_back({"info size 64", makeBmp({64, 2, 2})});
    files.push_back({"32 bits", makeBmp({40, 2, 2, 32})});
    files.push_back({"os2 8 bits", makeBmp({12, 2, 2, 8})});
    files.push_back({"compressed", makeBmp({40, 2, 2, 24, 1})});
    files.push_back({"zero width", makeBmp({40, 0, 2})});
    files.push_back({"zero height", makeBmp({40, 2, 0})});
    std::vector<uint8_t> negativeWidth = makeBmp({12, 2, 2});
    put16(&negativeWidth, 18, 0xfffe);
    files.push_back({"negative width", negativeWidth});
    std::vector<uint8_t> huge = makeBmp({40, 2, 2});
    put32(&huge, 18, 0x7fffffff);
    put32(&huge, 22, 0x7fffffff);
    files.push_back({"huge", huge});
    put32(&huge, 22, 0x80000000u);
    files.push_back({"most negative height", huge});
    std::vector<uint8_t> farOffset = makeBmp({40, 2, 2});
    put32(&farOffset, 10, 0xfffffff0u);
    files.push_back({"offset past the end", farOffset});
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        testing::internal::CaptureStdout();
        auto image = loadBmp(writeFile("bad.bmp", bytes).c_str());
        std::string out = testing::internal::GetCapturedStdout();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 0);
        EXPECT_EQ(image->height, 0);
        EXPECT_TRUE(image->pixels.empty());
        EXPECT_NE(out.find("bad.bmp"), std::string::npos) << out;
    }
    auto missing = loadBmp(tempPath("missing.bmp").c_str());
    EXPECT_EQ(missing->width, 0);
}
