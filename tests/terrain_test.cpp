#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/tga_reader.h"
#include "world/terrain.h"

namespace {

TgaImage image(int width, int height, int bitsPerPixel, std::vector<uint8_t> data) {
    return {0, uint8_t(bitsPerPixel == 8 ? 3 : 2), uint8_t(bitsPerPixel), int16_t(width), int16_t(height), std::move(data)};
}

void build(TgaImage picture) { ASSERT_EQ(buildHeightfield(picture, "test.tga"), 0); }

std::string rescale() {
    testing::internal::CaptureStdout();
    EXPECT_EQ(rescaleHeightfield(), 0);
    return testing::internal::GetCapturedStdout();
}

float normalAt(int sample, int axis) { return terrain.surfaceNormals[3 * sample + axis]; }

}  // namespace

TEST(Terrain, HeightsComeFromEachPixelsLastByteAndColoursOnlyFrom32Bits) {
    build(image(2, 1, 8, {64, 255}));
    EXPECT_FLOAT_EQ(terrain.heights[1], 255 / 256.0f);
    EXPECT_EQ(terrain.surfaceColours, nullptr);
    build(image(1, 1, 16, {7, 99}));
    EXPECT_FLOAT_EQ(terrain.heights[0], 99 / 256.0f);
    build(image(2, 1, 32, {10, 20, 30, 200, 40, 50, 60, 100}));
    EXPECT_FLOAT_EQ(terrain.heights[1], 100 / 256.0f);
    ASSERT_NE(terrain.surfaceColours, nullptr);
    EXPECT_FLOAT_EQ(terrain.surfaceColours[5], 60 / 256.0f);
}

TEST(Terrain, RescalingSpansMinusThreeToNineAndReportsIt) {
    build(image(3, 2, 8, {40, 90, 200, 10, 250, 100}));
    char expected[128];
    std::snprintf(expected, sizeof expected, "terrain: 3.000000 15.000000 %f %f 12.000000 %f\n", 10 / 256.0,
                  250 / 256.0, 90 / 240.0);
    EXPECT_EQ(rescale(), expected);
    EXPECT_TRUE(terrain.heights[3] == -3.0f && terrain.heights[4] == 9.0f);

    // A flat image has no relief to stretch: it lies at the lowest height, not NaN.
    build(image(2, 1, 8, {77, 77}));
    rescale();
    EXPECT_TRUE(terrain.heights[0] == -3.0f && terrain.heights[1] == -3.0f);
}

TEST(Terrain, NormalsAreUnitLengthPointUpAndLeanAwayFromSlopes) {
    build(image(4, 3, 8, {0, 200, 30, 255, 90, 10, 180, 60, 255, 0, 120, 5}));
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(std::hypot(normalAt(i, 0), normalAt(i, 1), normalAt(i, 2)), 1.0f, 1e-5f) << i;
        EXPECT_GT(normalAt(i, 1), 0.0f) << i;
    }
    // Rising along columns (world +x) leans toward -x; along rows (world -z) toward +z.
    build(image(3, 3, 8, {0, 100, 200, 0, 100, 200, 0, 100, 200}));
    EXPECT_LT(normalAt(4, 0), 0.0f);
    build(image(3, 3, 8, {0, 0, 0, 100, 100, 100, 200, 200, 200}));
    EXPECT_GT(normalAt(4, 2), 0.0f);
    // A grid one sample wide or deep forms no triangle: straight up.
    for (TgaImage line : {image(1, 3, 8, {0, 90, 200}), image(3, 1, 8, {0, 90, 200})}) {
        build(line);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(normalAt(i, 1), 1.0f);
    }
}

TEST(Terrain, BadImagesAreRefusedNamingTheFileAndLeaveNoTerrain) {
    const std::vector<uint8_t> eight(8);
    const TgaImage bad[] = {image(0, 4, 8, {}),       image(4, -2, 8, eight), image(2, 2, 0, eight),
                            image(2, 2, 12, eight),   image(3, 3, 8, eight),  image(2, 2, 32, std::vector<uint8_t>(15))};
    for (TgaImage picture : bad) {
        build(image(2, 2, 8, {1, 2, 3, 4}));
        testing::internal::CaptureStdout();
        EXPECT_EQ(buildHeightfield(picture, "hills.tga"), -4);
        EXPECT_NE(testing::internal::GetCapturedStdout().find("hills.tga"), std::string::npos);
        float height = 0;
        EXPECT_TRUE(terrain.heights == nullptr && rescaleHeightfield() == -1 && !terrainHeightAt(0, 100, &height));
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadHeightfieldFrom((testing::TempDir() + "missing.tga").c_str()), -4);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("missing.tga"), std::string::npos);
}

TEST(Terrain, HeightQueryReadsTheSampleUnderAPointInsideTheGrid) {
    // 5 x 4 samples: column = trunc(x) + 2, row = 102 - trunc(z).
    std::vector<uint8_t> grey;
    for (int i = 0; i < 20; ++i) grey.push_back(uint8_t(i * 10));
    build(image(5, 4, 8, grey));
    const float inside[][3] = {{0, 102, 2}, {0.9f, 101.5f, 7}, {-2, 102, 0}, {2.7f, 99, 19}, {-1.5f, 100.2f, 11}};
    float height = -1;
    for (const auto& point : inside) {
        EXPECT_TRUE(terrainHeightAt(point[0], point[1], &height)) << point[0] << ", " << point[1];
        EXPECT_FLOAT_EQ(height, point[2] * 10 / 256.0f) << point[0] << ", " << point[1];
    }
    const float outside[][2] = {{3, 100}, {-3, 100}, {0, 103}, {0, 98}, {1e30f, 100}, {NAN, 100}, {0, INFINITY}};
    for (const auto& point : outside) EXPECT_FALSE(terrainHeightAt(point[0], point[1], &height)) << point[0] << ", " << point[1];
}
