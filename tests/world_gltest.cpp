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

// 9000 units forward, in steps as the drive takes them (the sky travels along), turned and tipped off the road.
void leaveTheStart() {
    for (int step = 0; step < 90; ++step) stepBack(-100);
    player.viewDir = player.rightDir = player.upDir = player.vehiclePos = {1, 2, 3};
    player.pitch = player.heading = player.roll = 7;
    std::tie(player.health, player.ammo, player.boostPoints, drive.forwardSpeed) = std::make_tuple(75, 9, 3, 80.0f);
}

// The pose as camera, vehicle, view, right and up, then pitch, heading and roll.
std::vector<float> pose() {
    std::vector<float> all;
    for (const Vec3& v : {player.cameraPos, player.vehiclePos, player.viewDir, player.rightDir, player.upDir})
        all.insert(all.end(), {v.x, v.y, v.z});
    return all.insert(all.end(), {player.pitch, player.heading, player.roll}), all;
}

// Every level start, twice over: the start pose, the level's field, meters (level 1 restores them) and fog; the
// sky round the camera; fresh pickups, on hills of 2 or more 3 above them, the others at 5, none in the terrain.
TEST(LevelStart, LaysOutTheLevelCentresTheSkyAndKeepsPickupsAboveTheTerrain) {
    ensureGlContext();
    ASSERT_TRUE(loadHeightfield() == 0 && rescaleHeightfield() == 0);
    player.skybox = &sky;
    const std::vector<float> start = {0, 17, 4970, 0, 5, 4940, 0, -0.4f, -1, 1, 0, 0, 0, 1, 0, 0, 0, 0};
    const struct { int number, minCount, maxCount, minKind, maxKind; bool restoresMeters, fog; } plans[] = {
        {1, 30, 40, 3, 4, true, false}, {2, 50, 100, 1, 4, false, true}, {3, 200, 300, 2, 2, false, true}};
    int overHills = 0;
    for (int round = 0; round < 2; ++round) {
        for (const auto& plan : plans) {
            SCOPED_TRACE(testing::Message() << "level " << plan.number);
            leaveTheStart();
            plan.fog ? glDisable(GL_FOG) : glEnable(GL_FOG);
            levelNumber = plan.number;
            startLevel();
            EXPECT_EQ(pose(), start);
            EXPECT_TRUE(sky.centreX == player.cameraPos.x && sky.centreZ == player.cameraPos.z) << sky.centreZ;
            EXPECT_EQ(bool(glIsEnabled(GL_FOG)), plan.fog);
            EXPECT_EQ(std::make_tuple(player.health, player.ammo, player.boostPoints, drive.forwardSpeed),
                      plan.restoresMeters ? std::make_tuple(50, 5, 200, 0.0f) : std::make_tuple(75, 9, 3, 0.0f));
            ASSERT_TRUE(level.pickupCount >= plan.minCount && level.pickupCount <= plan.maxCount);
            std::set<int> kinds;
            for (int i = 0; i < level.pickupCount; ++i) {
                const Pickup& p = level.pickups[i];
                float height = 0;
                const bool overHill = terrainHeightAt(p.position.x, p.position.z, &height) && height >= 2;
                overHills += overHill;
                EXPECT_TRUE(std::abs(p.position.x) <= 105 && std::abs(p.position.z) <= 4999 && p.radius == 15 &&
                            !p.collected && p.position.y == (overHill ? height + 3 : 5)) << "pickup " << i;
                kinds.insert(p.kind);
            }
            EXPECT_TRUE(*kinds.begin() == plan.minKind && *kinds.rbegin() == plan.maxKind);
        }
    }
    EXPECT_GT(overHills, 0);
    levelNumber = 4;  // victory: only the player and the sky are reset, the old pickups retired
    leaveTheStart();
    startLevel();
    EXPECT_TRUE(pose() == start && sky.centreZ == 4970 && level.pickups[0].collected);
    levelNumber = 1;
}
