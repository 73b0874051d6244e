// Taking pickups: the caps on each meter, the reach, one pickup a call, and a bad
// mushroom that ends the game; the playthrough takes each kind in play.
#include <gtest/gtest.h>

#include <cmath>

#include "player/pickups.h"
#include "player/player.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "world/levels.h"

namespace {

using Meters = std::tuple<int32_t, int32_t, int32_t>;  // health, boost points, ammo

std::vector<Pickup> field;

Meters meters() { return {player.health, player.boostPoints, player.ammo}; }

// Lays pickups at the given offsets from the vehicle's reference point, with the meters given.
void lay(std::vector<std::pair<int, Vec3>> kindsAndOffsets, Meters before = {50, 200, 5}) {
    std::tie(player.health, player.boostPoints, player.ammo) = before;
    player.pickupReach = 20;
    player.vehiclePos = {0, 5, -30};
    gameOver = levelIntroVisible = false;
    field.assign(kindsAndOffsets.size(), Pickup());
    for (size_t i = 0; i < field.size(); ++i) {
        const auto& [kind, offset] = kindsAndOffsets[i];
        field[i].kind = kind;
        field[i].radius = 15;
        field[i].position = {offset.x, 3 + offset.y, player.vehiclePos.z + offset.z};
    }
    level.pickups = field.data();
    level.pickupCount = int32_t(field.size());
}

// Takes what is in reach, out of the test's output: the playthrough reads each kind's message.
void collect() {
    testing::internal::CaptureStdout();
    collectPickups();
    testing::internal::GetCapturedStdout();
}

}  // namespace

// Each meter stops at its cap; a bad mushroom takes only what is there. The reach compares squared distance with
// the reach itself: a pickup is taken within about 5.9 units, whatever its height.
TEST(Pickups, MetersStopAtTheirCapsWithinTheReach) {
    const float d = 1 / std::sqrt(2.0f);
    const struct { int kind; Vec3 offset; Meters before, after; } cases[] = {
        {kRedMushroom, {}, {100, 200, 5}, {100, 200, 5}}, {7, {}, {50, 200, 5}, {50, 200, 5}},
        {kYellowMushroom, {}, {75, 25, 2}, {50, 25, 2}}, {kYellowMushroom, {}, {75, 26, 3}, {50, 1, 1}},
        {kRifle, {5.9f, 0, 0}, {50, 200, 10}, {50, 200, 10}}, {kBottle, {6, 0, 0}, {50, 200, 5}, {50, 200, 5}},
        {kBottle, {5.9f * d, 0, 5.9f * d}, {50, 399, 5}, {50, 449, 5}},
        {kBottle, {0, 400, 5.9f}, {50, 400, 5}, {50, 400, 5}}, {kRifle, {-6 * d, 0, 6 * d}, {50, 200, 5}, {50, 200, 5}}};
    for (const auto& c : cases) {
        lay({{c.kind, c.offset}}, c.before);
        collect();
        EXPECT_TRUE(field[0].collected == (std::hypot(c.offset.x, c.offset.z) < 5.95f) && !gameOver) << c.kind;
        EXPECT_EQ(meters(), c.after) << c.kind << " at " << testing::PrintToString(c.before);
    }
}

// One pickup a call, the first in reach not yet taken; none while a banner is up.
// A death there would be wiped out by the banner's level start.
TEST(Pickups, OneACallAndABadMushroomThatEmptiesHealthEndsTheGame) {
    lay({{kBottle, {30, 0, 0}}, {kRifle, {1, 0, 0}}, {kYellowMushroom, {0, 0, 1}}, {kRifle, {0, 0, -2}}}, {25, 200, 5});
    field[1].collected = true;
    drive.forwardSpeed = 80;
    drive.reverseSpeed = 3;
    levelIntroVisible = true;
    collect();
    EXPECT_TRUE(!field[2].collected && !gameOver);
    levelIntroVisible = false;
    collect();
    EXPECT_TRUE(field[2].collected && !field[3].collected && gameOver);
    EXPECT_TRUE(drive.forwardSpeed == 0 && drive.reverseSpeed == 0);
    EXPECT_EQ(meters(), Meters(0, 175, 3));
}
