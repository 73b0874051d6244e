// The drive logic in fixed steps of game time: pedals, stalls and the tick counter's wrap, the road's limits, and the
// pickups' caps and reach, one a step; the playthrough takes each kind in play, the input test drives through keys.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/vec3.h"
#include "player/controls.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "tests/support/scripted_clock.h"
#include "world/levels.h"
#include "world/pickups.h"
#include "world/skybox.h"

namespace {

const Player startingPlayer = player;

void steps(int count) { while (count-- > 0) runGameStep(); }

class Drive : public ::testing::Test {
protected:
    void SetUp() override {
        player = startingPlayer, sky = Skybox{}, keys = KeyState{}, rightButtonDown = false;
        putPlayerAtStart(), resetDriveState();
        lastTickMs = scriptedNowMs, unsteppedMs = 0, level.pickupCount = 0;
        gameOver = levelComplete = levelIntroVisible = false;
    }
};

using Meters = std::tuple<int32_t, int32_t, int32_t>;  // health, boost points, ammo

std::vector<Pickup> field;

// Lays pickups at the given offsets from the vehicle's starting reference point, with the meters given.
void lay(std::vector<std::pair<int, Vec3>> kindsAndOffsets, Meters before = {50, 200, 5}) {
    std::tie(player.health, player.boostPoints, player.ammo) = before;
    field.assign(kindsAndOffsets.size(), Pickup());
    for (size_t i = 0; i < field.size(); ++i) {
        const auto& [kind, offset] = kindsAndOffsets[i];
        field[i].kind = kind, field[i].radius = 15;
        field[i].position = {offset.x, 3 + offset.y, player.vehiclePos.z + offset.z};
    }
    level.pickups = field.data();
    level.pickupCount = int32_t(field.size());
}

}  // namespace

// Pedals change the speed a level a step, up to 120, with the engine loops; braking is twice coasting, and at a
// standstill reverses; both pedals slow the faster way. A step moves 0.0256 units a level it had, the sky along.
TEST_F(Drive, PedalsChangeTheSpeedOneLevelAStep) {
    using S = EngineSound;
    const struct { bool w, s; float forward, reverse; int count; float forwardAfter, reverseAfter; int levels; S sound; }
    cases[] = {{true, false, 0, 0, 1, 1, 0, 0, S::accelerating}, {true, false, 119, 0, 1, 120, 0, 119, S::accelerating},
        {true, false, 120, 0, 1, 120, 0, 120, S::topSpeed}, {false, true, 10, 0, 4, 2, 0, 56, S::idle},
        {false, true, 2, 0, 2, 0, 1, 4, S::idle}, {false, true, 0, 120, 1, 0, 120, -120, S::idle},
        {true, true, 0, 3, 2, 0, 1, -5, S::idle}, {false, false, 10, 0, 1, 9, 0, 10, S::idle},
        {false, false, 0, 2, 2, 0, 0, -3, S::idle}};
    for (const auto& c : cases) {
        SetUp();
        std::tie(keys.forward, keys.backward, drive.forwardSpeed, drive.reverseSpeed) =
            std::make_tuple(c.w, c.s, c.forward, c.reverse);
        steps(c.count);
        const float moved = startingPlayer.cameraPos.z - player.cameraPos.z;
        EXPECT_EQ(std::make_tuple(drive.forwardSpeed, drive.reverseSpeed, engineSound),
                  std::make_tuple(c.forwardAfter, c.reverseAfter, c.sound)) << "row " << &c - cases;
        EXPECT_TRUE(std::abs(moved - c.levels * 0.0256f) < 1e-3 && std::abs(sky.centreZ + moved) < 0.01) << &c - cases;
    }
}

// The right button adds 5 units to a step driven forward, for a boost point, while the points last.
TEST_F(Drive, BoostAddsFiveUnitsAStepWhilePointsLast) {
    keys.forward = rightButtonDown = true;
    player.boostPoints = 2;
    steps(3);
    EXPECT_NEAR(startingPlayer.cameraPos.z - player.cameraPos.z, (0 + 1 + 2) * 0.0256f + 2 * 5, 1e-3);
    EXPECT_EQ(player.boostPoints, 0);
}

// A 2 s stall runs 15 steps, a tick count that wraps 2.
TEST_F(Drive, AStallRunsAQuarterSecondAndTheTickCountWraps) {
    keys.forward = true;
    scriptedNowMs += 2000;
    catchUpGameTime();
    EXPECT_TRUE(drive.forwardSpeed == 15 && unsteppedMs == 10u) << "a pass runs at most 250 ms";
    lastTickMs = 0xFFFFFFF0u;
    advanceGameTime(0x10u);
    EXPECT_EQ(drive.forwardSpeed, 17) << "32 ms across the wrap";
}

// The end line and the road's edges, and a pickup met at 5 frames a second (38 units a frame at top speed).
TEST_F(Drive, EveryStepSeesTheRoadLimitsAndThePickups) {
    for (auto [x, z, complete, over] : {std::tuple{250.0f, -4849.9f, false, false}, {-250.0f, -4850.0f, true, false},
                                        {250.01f, 0.0f, false, true}, {-250.01f, 0.0f, false, true}}) {
        SetUp();
        player.cameraPos = {x, 17, z};
        steps(1);
        EXPECT_TRUE(levelComplete == complete && gameOver == over) << x << " " << z;
    }
    SetUp();
    lay({{kRifle, {0, 0, -970}}});  // at z -1000
    keys.forward = true;
    for (uint32_t start = scriptedNowMs, ms = 0; ms <= 60000; ms += 200) advanceGameTime(start + ms);
    EXPECT_TRUE(field[0].collected && levelComplete);
}

// Each meter stops at its cap; a bad mushroom takes only what is there. The reach compares squared distance with
// the reach itself: a pickup is taken within about 5.9 units, whatever its height.
TEST_F(Drive, PickupsFillMetersToTheirCapsWithinTheReachOneAStep) {
    const float d = 1 / std::sqrt(2.0f);
    const struct { int kind; Vec3 offset; Meters before, after; } cases[] = {
        {kRedMushroom, {}, {100, 200, 5}, {100, 200, 5}}, {7, {}, {50, 200, 5}, {50, 200, 5}},
        {kYellowMushroom, {}, {75, 25, 2}, {50, 25, 2}}, {kYellowMushroom, {}, {75, 26, 3}, {50, 1, 1}},
        {kRifle, {5.9f, 0, 0}, {50, 200, 10}, {50, 200, 10}}, {kBottle, {6, 0, 0}, {50, 200, 5}, {50, 200, 5}},
        {kBottle, {5.9f * d, 0, 5.9f * d}, {50, 399, 5}, {50, 449, 5}},
        {kBottle, {0, 400, 5.9f}, {50, 400, 5}, {50, 400, 5}}, {kRifle, {-6 * d, 0, 6 * d}, {50, 200, 5}, {50, 200, 5}}};
    for (const auto& c : cases) {
        lay({{c.kind, c.offset}}, c.before);
        steps(1);
        EXPECT_TRUE(field[0].collected == (std::hypot(c.offset.x, c.offset.z) < 5.95f) && !gameOver) << c.kind;
        EXPECT_EQ(Meters(player.health, player.boostPoints, player.ammo), c.after) << c.kind;
    }
    // One pickup a step, the first in reach not yet taken; none while a banner is up (a death there would be wiped
    // out by the banner's level start). The car rolls about 2 units a step meanwhile.
    lay({{kBottle, {30, 0, 0}}, {kRifle, {1, 0, 0}}, {kYellowMushroom, {0, 0, -4}}, {kRifle, {0, 0, -6}}}, {25, 200, 5});
    field[1].collected = true;
    drive.forwardSpeed = 80, drive.reverseSpeed = 3;
    levelIntroVisible = true;
    steps(1);
    EXPECT_TRUE(!field[2].collected && !gameOver);
    levelIntroVisible = false;
    steps(1);
    EXPECT_TRUE(field[2].collected && !field[3].collected && gameOver);
    EXPECT_TRUE(drive.forwardSpeed == 0 && drive.reverseSpeed == 0);
}
