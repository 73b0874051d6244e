// Taking pickups: the caps on each meter, the reach, one pickup a call, and a bad
// mushroom that ends the game; the playthrough takes each kind in play.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "player/pickups.h"
#include "player/player.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "world/levels.h"

namespace {

using Meters = std::tuple<int32_t, int32_t, int32_t>;  // health, boost points, ammo

const char* const badShroom = "Got HP Powerup(BAD SHROOM)!\n";
std::vector<Pickup> field;

void setMeters(Meters meters) { std::tie(player.health, player.boostPoints, player.ammo) = meters; }
Meters meters() { return {player.health, player.boostPoints, player.ammo}; }

// Lays pickups at the given offsets from the vehicle's reference point, the meters at (50, 200, 5).
void lay(std::vector<std::pair<int, Vec3>> kindsAndOffsets) {
    setMeters({50, 200, 5});
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

std::string collect() {
    testing::internal::CaptureStdout();
    collectPickups();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(Pickups, MetersStopAtTheirCapsAndABadMushroomTakesOnlyWhatIsThere) {
    const struct { int kind; Meters before, after; const char* message; } cases[] = {
        {kRedMushroom, {100, 200, 5}, {100, 200, 5}, ""}, {7, {50, 200, 5}, {50, 200, 5}, ""},
        {kYellowMushroom, {75, 25, 2}, {50, 25, 2}, badShroom}, {kYellowMushroom, {75, 26, 3}, {50, 1, 1}, badShroom},
        {kRifle, {50, 200, 10}, {50, 200, 10}, "Got ammo Powerup!\n"},
        {kBottle, {50, 399, 5}, {50, 449, 5}, "Got BP Powerup!\n"},
        {kBottle, {50, 400, 5}, {50, 400, 5}, "Got BP Powerup!\n"}};
    for (const auto& c : cases) {
        lay({{c.kind, {0, 0, 0}}});
        setMeters(c.before);
        EXPECT_EQ(collect(), c.message) << c.kind;
        EXPECT_TRUE(field[0].collected && !gameOver) << c.kind;
        EXPECT_EQ(meters(), c.after) << c.kind << " at " << testing::PrintToString(c.before);
    }
}

// Squared distance against the reach itself: a placed pickup is taken within about 5.9 units.
TEST(Pickups, ReachComparesSquaredDistanceWithTheReachItself) {
    const float d = 1 / std::sqrt(2.0f);
    const std::pair<Vec3, bool> cases[] = {
        {{5.9f, 0, 0}, true},  {{5.9f * d, 0, 5.9f * d}, true},  {{0, 400, 5.9f}, true},  // height never matters
        {{6.0f, 0, 0}, false}, {{-6.0f * d, 0, 6.0f * d}, false}};
    for (const auto& [offset, taken] : cases) {
        lay({{kBottle, offset}});
        collect();
        EXPECT_EQ(field[0].collected, taken) << offset.x << ", " << offset.z;
    }
}

// One pickup a call, the first in reach not yet taken; none while a banner is up.
// A death there would be wiped out by the banner's level start.
TEST(Pickups, OneACallAndABadMushroomThatEmptiesHealthEndsTheGame) {
    lay({{kBottle, {30, 0, 0}}, {kRifle, {1, 0, 0}}, {kYellowMushroom, {0, 0, 1}}, {kRifle, {0, 0, -2}}});
    field[1].collected = true;
    player.health = 25;
    drive.forwardSpeed = 80;
    drive.reverseSpeed = 3;
    levelIntroVisible = true;
    EXPECT_EQ(collect(), "");
    EXPECT_TRUE(!field[2].collected && !gameOver);
    levelIntroVisible = false;
    EXPECT_EQ(collect(), badShroom);
    EXPECT_TRUE(field[2].collected && !field[3].collected && gameOver);
    EXPECT_TRUE(drive.forwardSpeed == 0 && drive.reverseSpeed == 0);
    EXPECT_EQ(meters(), Meters(0, 175, 3));
}
