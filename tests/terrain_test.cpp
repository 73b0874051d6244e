// The heightfield from its picture: heights, colours, pictures it cannot use, and the height under a point.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/tga_reader.h"
#include "world/terrain.h"

// Builds the terrain from an image of the given size and depth; returns the status and what it printed.
std::pair<int, std::string> build(int width, int height, int bits, std::vector<uint8_t> data) {
    TgaImage picture{0, uint8_t(bits == 8 ? 3 : 2), uint8_t(bits), int16_t(width), int16_t(height), std::move(data)};
    testing::internal::CaptureStdout();
    int status = buildHeightfield(picture, "hills.tga");
    return {status, testing::internal::GetCapturedStdout()};
}

// Heights from each pixel's last byte (24-bit pixels made grey first), colours from 32-bit pixels only. Bad sizes
// and depths are reported in one line naming the file and leave no terrain.
TEST(Terrain, HeightsComeFromEachPixelsLastByteAndColoursFrom32BitPixels) {
    const std::tuple<int, std::vector<uint8_t>, float, float> images[] = {{16, {7, 99, 8, 98}, 98, -256},
        {24, {0, 0, 0, 100, 150, 200}, 140, -256}, {32, {10, 20, 30, 200, 40, 50, 60, 100}, 100, 60}};
    for (const auto& [bits, pixels, height, blue] : images) {
        ASSERT_EQ(build(2, 1, bits, pixels).first, 0);
        float shade = terrain.surfaceColours ? terrain.surfaceColours[5] : -1;
        EXPECT_TRUE(terrain.heights[1] == height / 256 && shade == blue / 256) << bits;
    }
    const std::tuple<int, int, int, std::vector<uint8_t>> bad[] = {
        {0, 4, 8, {}}, {4, -2, 8, std::vector<uint8_t>(8)}, {2, 2, 12, std::vector<uint8_t>(8)}, {3, 3, 8, {1}}};
    for (const auto& [width, height, bits, data] : bad) {
        build(2, 2, 8, {1, 2, 3, 4});
        auto [status, out] = build(width, height, bits, data);
        float under = 0;
        EXPECT_TRUE(status == -4 && out.rfind("Terrain: hills.tga: ", 0) == 0 && out.find('\n') == out.size() - 1);
        EXPECT_TRUE(terrain.heights == nullptr && rescaleHeightfield() == -1 && !terrainHeightAt(0, 100, &under));
    }
}

// Rescaled to span -3 to 9; the query reads the sample under a point inside the 5 x 4 grid (column
// trunc(x) + 2, row 102 - trunc(z)), and nothing outside it.
TEST(Terrain, RescaledHeightsSpanMinusThreeToNineUnderPointsInsideTheGrid) {
    std::vector<uint8_t> grey;
    for (int i = 0; i < 20; ++i) grey.push_back(uint8_t(i * 12));
    build(5, 4, 8, grey);
    EXPECT_EQ(rescaleHeightfield(), 0);
    const float points[][3] = {{0, 102, 2}, {0.9f, 101.5f, 7}, {-2, 102, 0}, {2.7f, 99, 19}, {-1.5f, 100.2f, 11},
        {3, 100, -1}, {-3, 100, -1}, {0, 103, -1}, {0, 98, -1}, {1e30f, 100, -1}, {NAN, 100, -1}, {0, INFINITY, -1}};
    for (const auto& [x, z, sample] : points) {
        float height = -1;
        EXPECT_EQ(terrainHeightAt(x, z, &height), sample >= 0) << x << ", " << z;
        EXPECT_NEAR(height, sample >= 0 ? sample * 12 / 19.0f - 3 : -1, 1e-5) << x << ", " << z;
    }
}
