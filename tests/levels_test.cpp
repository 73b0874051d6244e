#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "assets/tga_reader.h"
#include "player/player.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/terrain.h"

// Number 0 names no level, so setUpLevel touches no ground texture and needs no GL.
const int noLevel = 0;

TEST(Random, FollowsTheSameSequenceOnEveryRunAndStaysInRange) {
    randomState = 1;
    for (int value : {16838, 5758, 10113, 17515, 31051}) EXPECT_EQ(randomInRange(0, 32767), value);
    const std::pair<int, int> ranges[] = {{3, 4}, {-105, 105}, {7, 7}, {-2000000000, 2000000000}};
    for (const auto& [low, high] : ranges) {
        std::set<int> seen;
        for (int i = 0; i < 20000; ++i) seen.insert(randomInRange(low, high));
        EXPECT_TRUE(*seen.begin() >= low && *seen.rbegin() <= high) << *seen.begin() << " " << *seen.rbegin();
        if (high < low + 1000) {
            EXPECT_EQ(int(seen.size()), high - low + 1);  // every value turns up
        }
    }
}

TEST(Pickups, EachNewFieldReplacesTheOldOneWithTheSameLayoutEveryRun) {
    std::vector<float> firstLayout;
    for (int round = 0; round < 3; ++round) {
        randomState = 1;
        level.setUpLevel(40, 30, noLevel);
        ASSERT_TRUE(level.pickupCount >= 30 && level.pickupCount <= 40);
        std::vector<float> layout;
        for (int i = 0; i < level.pickupCount; ++i) {
            const Pickup& p = level.pickups[i];
            EXPECT_TRUE(p.kind == 3 || p.kind == 4) << p.kind;
            EXPECT_TRUE(p.position.x >= -105 && p.position.x <= 105 && p.position.z >= -4999 && p.position.z <= 4999);
            EXPECT_TRUE(p.position.y == 3 && p.radius == 15 && !p.collected);
            layout.insert(layout.end(), {float(p.kind), p.position.x, p.position.z});
        }
        // After the count, the first pickup draws its kind, then z, then x.
        EXPECT_EQ(std::vector<float>(layout.begin(), layout.begin() + 3), (std::vector<float>{3, 7, -1914}));
        if (round == 0) firstLayout = layout;
        EXPECT_EQ(layout, firstLayout);
    }
}

TEST(Levels, StartingBeyondTheLastLevelOnlyResetsThePlayerAndRetiresThePickups) {
    level.setUpLevel(40, 30, noLevel);
    const Pickup* oldPickups = level.pickups;
    player.health = 75;
    player.cameraPos = {200, 17, -4900};
    player.heading = 33;
    for (int number : {4, 7}) {
        levelNumber = number;
        startLevel();
        EXPECT_EQ(level.pickups, oldPickups);
        for (int i = 0; i < level.pickupCount; ++i) EXPECT_TRUE(level.pickups[i].collected);
        EXPECT_TRUE(player.cameraPos.x == 0 && player.cameraPos.z == 4970 && player.vehiclePos.y == 5);
        EXPECT_TRUE(player.heading == 0 && player.health == 75);
    }
    levelNumber = 1;
}

TEST(Scene, FirstPickupsSitOnHillsAndFloatElsewhere) {
    // A 4 x 4 patch: column = trunc(x) + 2, row = 102 - trunc(z).
    TgaImage patch{0, 3, 8, 4, 4, std::vector<uint8_t>(16)};
    ASSERT_EQ(buildHeightfield(patch, "patch.tga"), 0);
    terrain.heights[0] = 6.5f;    // x -2, z 102
    terrain.heights[5] = 2.0f;    // x -1, z 101
    terrain.heights[10] = 1.9f;   // x 0, z 100
    const float placed[][3] = {{-2, 102, 9.5f}, {-1, 101, 5}, {0.5f, 100, 5}, {50, 100, 5}, {0, 4000, 5}};
    level.setUpLevel(5, 5, noLevel);
    for (int i = 0; i < 5; ++i) level.pickups[i].position = {placed[i][0], 3.0f, placed[i][1]};
    liftPickupsOntoTerrain();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(level.pickups[i].position.y, placed[i][2]) << "pickup " << i;
}
