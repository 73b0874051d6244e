// Every level start, then victory's: the start pose and the sky round the camera; the level's field,
// meters (level 1 restores them) and fog; fresh pickups, on hills of 2 or more 3 above them, the others at 5.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <set>

#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "tests/support/gl_context.h"
#include "world/levels.h"
#include "world/skybox.h"
#include "world/terrain.h"

// The pose as camera, vehicle, view, right and up, then pitch, heading and roll; and the sky's centre.
std::vector<float> poseAndSky() {
    std::vector<float> all;
    for (const Vec3& v : {player.cameraPos, player.vehiclePos, player.viewDir, player.rightDir, player.upDir})
        all.insert(all.end(), {v.x, v.y, v.z});
    all.insert(all.end(), {player.pitch, player.heading, player.roll, sky.centreX, sky.centreZ});
    return all;
}

// Far from the start, turned and tipped off the road, with other meters.
void leaveTheStart() {
    player.cameraPos = player.viewDir = player.rightDir = player.upDir = player.vehiclePos = {1, 2, 3};
    player.pitch = player.heading = player.roll = sky.centreX = sky.centreZ = 7;
    std::tie(player.health, player.ammo, player.boostPoints, drive.forwardSpeed) = std::make_tuple(75, 9, 3, 80.0f);
}

TEST(LevelStart, LaysOutTheLevelCentresTheSkyAndKeepsPickupsAboveTheTerrain) {
    ensureGlContext();
    ASSERT_TRUE(loadHeightfield() == 0 && rescaleHeightfield() == 0);
    player.skybox = &sky;
    const std::vector<float> start = {0, 17, 4970, 0, 5, 4940, 0, -0.4f, -1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 4970};
    using Meters = std::tuple<int32_t, int32_t, int32_t>;  // health, ammo, boost points
    const struct { int number, minCount, maxCount, minKind, maxKind; Meters meters; bool fog; } plans[] = {
        {1, 30, 40, 3, 4, {50, 5, 200}, false}, {2, 50, 100, 1, 4, {75, 9, 3}, true},
        {3, 200, 300, 2, 2, {75, 9, 3}, true}};
    int overHills = 0;
    for (const auto& plan : plans) {
        SCOPED_TRACE(testing::Message() << "level " << plan.number);
        leaveTheStart();
        plan.fog ? glDisable(GL_FOG) : glEnable(GL_FOG);
        levelNumber = plan.number;
        startLevel();
        EXPECT_EQ(poseAndSky(), start);
        EXPECT_EQ(Meters(player.health, player.ammo, player.boostPoints), plan.meters);
        EXPECT_TRUE(drive.forwardSpeed == 0 && bool(glIsEnabled(GL_FOG)) == plan.fog);
        ASSERT_TRUE(level.pickupCount >= plan.minCount && level.pickupCount <= plan.maxCount);
        std::set<int> kinds;
        for (const Pickup* p = level.pickups; p < level.pickups + level.pickupCount; ++p) {
            float height = 0;
            const bool overHill = terrainHeightAt(p->position.x, p->position.z, &height) && height >= 2;
            overHills += overHill;
            EXPECT_TRUE(std::abs(p->position.x) <= 105 && std::abs(p->position.z) <= 4999 && p->radius == 15 &&
                        !p->collected && p->position.y == (overHill ? height + 3 : 5))
                << "pickup " << p - level.pickups;
            kinds.insert(p->kind);
        }
        EXPECT_TRUE(*kinds.begin() == plan.minKind && *kinds.rbegin() == plan.maxKind);
    }
    EXPECT_GT(overHills, 0);
    levelNumber = 4;  // victory: only the player and the sky are reset, the old pickups retired
    leaveTheStart();
    startLevel();
    EXPECT_TRUE(poseAndSky() == start && level.pickups[0].collected);
    levelNumber = 1;
}
