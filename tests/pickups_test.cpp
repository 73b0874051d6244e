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

void setMeters(Meters meters) { std::tie(player.health, player.boostPoints, player.ammo) = meters; }
Meters meters() { return {player.health, player.boostPoints, player.ammo}; }

class PickupsTest : public testing::Test {
protected:
    std::vector<Pickup> field;

    void SetUp() override {
        setMeters({50, 200, 5});
        player.pickupReach = 20;
        player.vehiclePos = {0, 5, -30};
        gameOver = levelIntroVisible = false;
    }

    // Lays pickups at the given offsets from the vehicle's reference point.
    void lay(std::vector<std::pair<int, Vec3>> kindsAndOffsets) {
        field.assign(kindsAndOffsets.size(), Pickup());
        for (size_t i = 0; i < field.size(); ++i) {
            const Vec3& offset = kindsAndOffsets[i].second;
            field[i].kind = kindsAndOffsets[i].first;
            field[i].radius = 15;
            field[i].position = {player.vehiclePos.x + offset.x, 3 + offset.y, player.vehiclePos.z + offset.z};
        }
        level.pickups = field.data();
        level.pickupCount = int32_t(field.size());
    }

    std::string collect() {
        testing::internal::CaptureStdout();
        collectPickups();
        return testing::internal::GetCapturedStdout();
    }
};

const char* const badShroom = "Got HP Powerup(BAD SHROOM)!\n";
const char* const ammo = "Got ammo Powerup!\n";
const char* const boost = "Got BP Powerup!\n";

TEST_F(PickupsTest, EachKindChangesItsMeterUpToItsCapAndSaysSo) {
    const struct {
        int kind;
        Meters before, after;
        const char* message;
    } cases[] = {
        {1, {50, 200, 5}, {75, 200, 5}, ""},     {1, {100, 200, 5}, {100, 200, 5}, ""},
        {7, {50, 200, 5}, {50, 200, 5}, ""},     {2, {100, 200, 5}, {75, 175, 3}, badShroom},
        {2, {75, 25, 2}, {50, 25, 2}, badShroom}, {2, {75, 26, 3}, {50, 1, 1}, badShroom},
        {3, {50, 200, 9}, {50, 200, 10}, ammo},  {3, {50, 200, 10}, {50, 200, 10}, ammo},
        {4, {50, 350, 5}, {50, 400, 5}, boost},  {4, {50, 399, 5}, {50, 449, 5}, boost},
        {4, {50, 400, 5}, {50, 400, 5}, boost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " at " << testing::PrintToString(c.before));
        setMeters(c.before);
        lay({{c.kind, {0, 0, 0}}});
        EXPECT_EQ(collect(), c.message);
        EXPECT_TRUE(field[0].collected);
        EXPECT_EQ(meters(), c.after);
        EXPECT_FALSE(gameOver);
    }
}

TEST_F(PickupsTest, ReachComparesSquaredDistanceWithTheReachItself) {
    const float d = 1 / std::sqrt(2.0f);
    const std::pair<Vec3, bool> cases[] = {
        {{5.9f, 0, 0}, true},  {{5.9f * d, 0, 5.9f * d}, true},  {{0, 400, 5.9f}, true},  // height never matters
        {{6.0f, 0, 0}, false}, {{-6.0f * d, 0, 6.0f * d}, false},
        {{20, 0, 0}, false},  // inside radius + reach, but not inside its square root
    };
    for (const auto& [offset, taken] : cases) {
        lay({{4, offset}});
        collect();
        EXPECT_EQ(field[0].collected, taken) << offset.x << ", " << offset.z;
    }
}

TEST_F(PickupsTest, ABadMushroomThatEmptiesHealthEndsTheGameOnceNoBannerIsUp) {
    setMeters({25, 20, 2});
    drive.forwardSpeed = 80;
    drive.reverseSpeed = 3;
    lay({{2, {0, 0, 0}}});
    levelIntroVisible = true;
    EXPECT_EQ(collect(), "");
    EXPECT_TRUE(!field[0].collected && !gameOver && player.health == 25);
    levelIntroVisible = false;
    EXPECT_EQ(collect(), badShroom);
    EXPECT_TRUE(field[0].collected && gameOver);
    EXPECT_EQ(meters(), Meters(0, 20, 2));
    EXPECT_TRUE(drive.forwardSpeed == 0 && drive.reverseSpeed == 0);
}

TEST_F(PickupsTest, TakesOnlyTheFirstPickupInReachPerCall) {
    lay({{4, {30, 0, 0}}, {3, {1, 0, 0}}, {4, {0, 0, 1}}, {3, {0, 0, -2}}});
    field[1].collected = true;  // taken earlier: skipped
    EXPECT_EQ(collect(), boost);
    EXPECT_TRUE(field[2].collected && !field[3].collected);
    EXPECT_EQ(collect(), ammo);
    EXPECT_TRUE(field[3].collected);
    EXPECT_EQ(collect(), "");
    EXPECT_FALSE(field[0].collected);
    EXPECT_EQ(meters(), Meters(50, 250, 6));
}

}  // namespace
