#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <set>
#include <tuple>

#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "tests/support/gl_context.h"
#include "world/levels.h"
#include "world/skybox.h"
#include "world/terrain.h"

// 9000 units forward, in steps as the drive takes them; the sky travels along.
void runDownTheRoad() {
    for (int step = 0; step < 90; ++step) stepBack(-100);
}

// Every level start, after a long run down the road: the level's field, meters
// and fog; the sky round the camera; pickups on hills of 2 or more sit 3
// above them, the others float at 5, none sunk into the terrain.
TEST(LevelStart, LaysOutTheLevelCentresTheSkyAndKeepsPickupsAboveTheTerrain) {
    ensureGlContext();
    ASSERT_TRUE(loadHeightfield() == 0 && rescaleHeightfield() == 0);
    player.skybox = &sky;
    const struct { int number, minCount, maxCount, minKind, maxKind; bool restoresMeters, fog; } plans[] = {
        {1, 30, 40, 3, 4, true, false}, {2, 50, 100, 1, 4, false, true}, {3, 200, 300, 2, 2, false, true}};
    int overHills = 0;
    for (int round = 0; round < 2; ++round) {
        for (const auto& plan : plans) {
            SCOPED_TRACE(testing::Message() << "level " << plan.number);
            runDownTheRoad();
            std::tie(player.health, player.ammo, drive.forwardSpeed) = std::make_tuple(75, 9, 80.0f);
            plan.fog ? glDisable(GL_FOG) : glEnable(GL_FOG);
            levelNumber = plan.number;
            startLevel();
            EXPECT_TRUE(sky.centreX == player.cameraPos.x && sky.centreZ == player.cameraPos.z) << sky.centreZ;
            EXPECT_EQ(bool(glIsEnabled(GL_FOG)), plan.fog);
            EXPECT_EQ(std::make_tuple(player.health, player.ammo, drive.forwardSpeed),
                      plan.restoresMeters ? std::make_tuple(50, 5, 0.0f) : std::make_tuple(75, 9, 0.0f));
            ASSERT_TRUE(level.pickupCount >= plan.minCount && level.pickupCount <= plan.maxCount);
            std::set<int> kinds;
            for (int i = 0; i < level.pickupCount; ++i) {
                const Vec3& at = level.pickups[i].position;
                EXPECT_TRUE(std::abs(at.x) <= 105 && std::abs(at.z) <= 4999) << "pickup " << i;
                float height = 0;
                const bool overHill = terrainHeightAt(at.x, at.z, &height) && height >= 2;
                overHills += overHill;
                EXPECT_EQ(at.y, overHill ? height + 3 : 5) << "pickup " << i << " at " << at.x << ", " << at.z;
                kinds.insert(level.pickups[i].kind);
            }
            EXPECT_TRUE(*kinds.begin() == plan.minKind && *kinds.rbegin() == plan.maxKind);
        }
    }
    EXPECT_GT(overHills, 0);
    levelNumber = 4;  // victory: only the player and the sky are reset, the old pickups retired
    runDownTheRoad();
    startLevel();
    EXPECT_TRUE(sky.centreZ == 4970 && player.cameraPos.z == 4970 && level.pickups[0].collected);
    levelNumber = 1;
}
