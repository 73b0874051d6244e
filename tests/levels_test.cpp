#include <gtest/gtest.h>

#include <vector>

#include "assets/tga_reader.h"
#include "player/player.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

// Number 0 names no level, so setUpLevel touches no ground texture and needs no GL.
const int noLevel = 0;

void expectPlacedOnTheRoad(const Pickup& pickup) {
    EXPECT_EQ(pickup.position.y, 3.0f);
    EXPECT_GE(pickup.position.x, -105.0f);
    EXPECT_LE(pickup.position.x, 105.0f);
    EXPECT_GE(pickup.position.z, -4999.0f);
    EXPECT_LE(pickup.position.z, 4999.0f);
    EXPECT_EQ(pickup.radius, 15);
    EXPECT_FALSE(pickup.collected);
}

}  // namespace

TEST(Random, FollowsTheSameSequenceOnEveryRun) {
    randomState = 1;
    const int expected[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086};
    for (int value : expected) EXPECT_EQ(randomInRange(0, 32767), value);
}

TEST(Random, EveryDrawLiesInItsRangeAndReachesBothEnds) {
    const int ranges[][2] = {{3, 4}, {-105, 105}, {-4999, 4999}, {200, 300}, {7, 7}, {-2000000000, 2000000000}};
    for (const auto& range : ranges) {
        int lowest = range[1], highest = range[0];
        for (int i = 0; i < 20000; ++i) {
            const int value = randomInRange(range[0], range[1]);
            ASSERT_GE(value, range[0]);
            ASSERT_LE(value, range[1]);
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        if (range[1] < range[0] + 1000) {
            EXPECT_EQ(lowest, range[0]);
            EXPECT_EQ(highest, range[1]);
        }
    }
}

TEST(Pickups, PlacementDrawsKindThenZThenX) {
    randomState = 1;
    Pickup pickup;
    pickup.collected = true;
    placePickup(pickup, 3, 4);
    EXPECT_EQ(pickup.kind, 4);
    EXPECT_EQ(pickup.position.z, -3242.0f);
    EXPECT_EQ(pickup.position.x, -40.0f);
    expectPlacedOnTheRoad(pickup);
}

TEST(Pickups, EachNewFieldReplacesTheOldOneWithTheSameLayoutEveryRun) {
    std::vector<float> firstLayout;
    for (int round = 0; round < 3; ++round) {
        randomState = 1;
        level.setUpLevel(40, 30, noLevel);
        ASSERT_GE(level.pickupCount, 30);
        ASSERT_LE(level.pickupCount, 40);
        std::vector<float> layout;
        for (int i = 0; i < level.pickupCount; ++i) {
            const Pickup& pickup = level.pickups[i];
            EXPECT_TRUE(pickup.kind == 3 || pickup.kind == 4) << pickup.kind;
            expectPlacedOnTheRoad(pickup);
            layout.insert(layout.end(), {float(pickup.kind), pickup.position.x, pickup.position.z});
        }
        if (round == 0) firstLayout = layout;
        EXPECT_EQ(layout, firstLayout);
    }
    for (int round = 0; round < 20; ++round) {
        level.setUpLevel(300, 200, noLevel);
        EXPECT_GE(level.pickupCount, 200);
        EXPECT_LE(level.pickupCount, 300);
    }
}

TEST(Levels, StartingBeyondTheLastLevelOnlyResetsThePlayerAndRetiresThePickups) {
    level.setUpLevel(40, 30, noLevel);
    const Pickup* oldPickups = level.pickups;
    player.health = 75;
    player.boostPoints = 120;
    player.ammo = 9;
    player.cameraPos = {200, 17, -4900};
    player.viewDir = {0.5f, -0.3f, -0.8f};
    player.heading = 33;
    player.wheelAngle = 410;
    for (int number : {4, 7}) {
        levelNumber = number;
        startLevel();
        EXPECT_EQ(level.pickups, oldPickups);
        for (int i = 0; i < level.pickupCount; ++i) EXPECT_TRUE(level.pickups[i].collected);
        EXPECT_EQ(player.cameraPos.x, 0);
        EXPECT_EQ(player.cameraPos.y, 17);
        EXPECT_EQ(player.cameraPos.z, 4970);
        EXPECT_EQ(player.vehiclePos.y, 5);
        EXPECT_EQ(player.vehiclePos.z, -30);
        EXPECT_EQ(player.viewDir.y, -0.4f);
        EXPECT_EQ(player.viewDir.z, -1);
        EXPECT_EQ(player.rightDir.x, 1);
        EXPECT_EQ(player.heading, 0);
        EXPECT_EQ(player.health, 75);
        EXPECT_EQ(player.boostPoints, 120);
        EXPECT_EQ(player.ammo, 9);
        EXPECT_EQ(player.wheelAngle, 410);
    }
    levelNumber = 1;
}

TEST(Scene, FirstPickupsSitOnHillsAndFloatElsewhere) {
    // A 4 x 4 patch: column = trunc(x) + 2, row = 102 - trunc(z).
    TgaImage patch;
    patch.status = 0;
    patch.imageType = 3;
    patch.bitsPerPixel = 8;
    patch.width = 4;
    patch.height = 4;
    patch.data.assign(16, 0);
    ASSERT_EQ(buildHeightfield(patch, "patch.tga"), 0);
    terrain.heights[0] = 6.5f;   // x -2, z 102
    terrain.heights[5] = 2.0f;   // x -1, z 101
    terrain.heights[10] = 1.9f;  // x 0, z 100
    terrain.heights[15] = -3.0f; // x 1, z 99
    const float placed[][2] = {{-2, 102}, {-1, 101}, {0.5f, 100}, {1, 99}, {50, 100}, {0, 4000}};
    const float lifted[] = {9.5f, 5.0f, 5.0f, 5.0f, 5.0f, 5.0f};
    level.setUpLevel(6, 6, noLevel);
    for (int i = 0; i < 6; ++i) level.pickups[i].position = {placed[i][0], 3.0f, placed[i][1]};
    liftPickupsOntoTerrain();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(level.pickups[i].position.y, lifted[i]) << "pickup " << i;
}
