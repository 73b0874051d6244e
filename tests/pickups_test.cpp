#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "player/pickups.h"
#include "player/player.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "world/levels.h"

namespace {

class PickupsTest : public testing::Test {
protected:
    std::vector<Pickup> field;

    void SetUp() override {
        player.health = 50;
        player.boostPoints = 200;
        player.ammo = 5;
        player.pickupReach = 20;
        player.vehiclePos = {0, 5, -30};
        gameOver = false;
        levelIntroVisible = false;
    }

    void TearDown() override {
        level.pickups = nullptr;
        level.pickupCount = 0;
        levelIntroVisible = true;
        gameOver = false;
    }

    // Lays pickups at the given offsets from the vehicle's reference point.
    void lay(std::vector<std::pair<int, Vec3>> kindsAndOffsets) {
        field.assign(kindsAndOffsets.size(), Pickup());
        for (size_t i = 0; i < field.size(); ++i) {
            const Vec3& offset = kindsAndOffsets[i].second;
            field[i].kind = kindsAndOffsets[i].first;
            field[i].radius = 15;
            field[i].position = {player.vehiclePos.x + offset.x, 3 + offset.y,
                                 player.vehiclePos.z + offset.z};
        }
        level.pickups = field.data();
        level.pickupCount = static_cast<int32_t>(field.size());
    }

    std::string collectAndCapture() {
        testing::internal::CaptureStdout();
        collectPickups();
        return testing::internal::GetCapturedStdout();
    }
};

struct EffectCase {
    int kind;
    int32_t health, boost, ammo;
    int32_t wantHealth, wantBoost, wantAmmo;
    const char* message;
};

TEST_F(PickupsTest, EachKindChangesItsMeterUpToItsCapAndSaysSo) {
    const EffectCase cases[] = {
        {1, 50, 200, 5, 75, 200, 5, ""},
        {1, 100, 200, 5, 100, 200, 5, ""},
        {2, 100, 200, 5, 75, 175, 3, "Got HP Powerup(BAD SHROOM)!\n"},
        {2, 75, 25, 2, 50, 25, 2, "Got HP Powerup(BAD SHROOM)!\n"},
        {2, 75, 26, 3, 50, 1, 1, "Got HP Powerup(BAD SHROOM)!\n"},
        {3, 50, 200, 9, 50, 200, 10, "Got ammo Powerup!\n"},
        {3, 50, 200, 10, 50, 200, 10, "Got ammo Powerup!\n"},
        {4, 50, 350, 5, 50, 400, 5, "Got BP Powerup!\n"},
        {4, 50, 399, 5, 50, 449, 5, "Got BP Powerup!\n"},
        {4, 50, 400, 5, 50, 400, 5, "Got BP Powerup!\n"},
        {7, 50, 200, 5, 50, 200, 5, ""},
    };
    for (const EffectCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " at " + std::to_string(c.health) + "/" +
                     std::to_string(c.boost) + "/" + std::to_string(c.ammo));
        player.health = c.health;
        player.boostPoints = c.boost;
        player.ammo = c.ammo;
        lay({{c.kind, {0, 0, 0}}});
        EXPECT_EQ(collectAndCapture(), c.message);
        EXPECT_TRUE(field[0].collected);
        EXPECT_EQ(player.health, c.wantHealth);
        EXPECT_EQ(player.boostPoints, c.wantBoost);
        EXPECT_EQ(player.ammo, c.wantAmmo);
        EXPECT_FALSE(gameOver);
    }
}

TEST_F(PickupsTest, ReachComparesSquaredDistanceWithTheReachItself) {
    const float diagonal = 1 / std::sqrt(2.0f);
    const struct {
        Vec3 offset;
        bool taken;
    } cases[] = {
        {{5.9f, 0, 0}, true},
        {{0, 0, -5.9f}, true},
        {{5.9f * diagonal, 0, 5.9f * diagonal}, true},
        {{0, 400, 5.9f}, true},  // height never matters
        {{6.0f, 0, 0}, false},
        {{0, 0, 6.0f}, false},
        {{-6.0f * diagonal, 0, 6.0f * diagonal}, false},
        {{20, 0, 0}, false},     // inside radius + reach, but not inside its square root
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset.x) + ", " + std::to_string(c.offset.z));
        lay({{4, c.offset}});
        collectAndCapture();
        EXPECT_EQ(field[0].collected, c.taken);
    }
}

TEST_F(PickupsTest, ABadMushroomThatEmptiesHealthEndsTheGameAndStopsTheVehicle) {
    player.health = 25;
    player.boostPoints = 20;
    player.ammo = 2;
    drive.forwardSpeed = 80;
    drive.reverseSpeed = 3;
    lay({{2, {0, 0, 0}}});
    EXPECT_EQ(collectAndCapture(), "Got HP Powerup(BAD SHROOM)!\n");
    EXPECT_EQ(player.health, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(drive.forwardSpeed, 0);
    EXPECT_EQ(drive.reverseSpeed, 0);
    EXPECT_EQ(player.boostPoints, 20);
    EXPECT_EQ(player.ammo, 2);
}

TEST_F(PickupsTest, TakesOnlyTheFirstPickupInReachPerCall) {
    lay({{4, {30, 0, 0}}, {3, {1, 0, 0}}, {4, {0, 0, 1}}, {3, {0, 0, -2}}});
    field[1].collected = true;  // taken earlier: skipped
    EXPECT_EQ(collectAndCapture(), "Got BP Powerup!\n");
    EXPECT_TRUE(field[2].collected);
    EXPECT_FALSE(field[3].collected);
    EXPECT_EQ(collectAndCapture(), "Got ammo Powerup!\n");
    EXPECT_TRUE(field[3].collected);
    EXPECT_EQ(collectAndCapture(), "");
    EXPECT_FALSE(field[0].collected);
    EXPECT_EQ(player.boostPoints, 250);
    EXPECT_EQ(player.ammo, 6);
}

TEST_F(PickupsTest, NothingIsTakenWhileALevelBannerIsUp) {
    player.health = 25;
    lay({{2, {0, 0, 0}}});
    levelIntroVisible = true;
    EXPECT_EQ(collectAndCapture(), "");
    EXPECT_FALSE(field[0].collected);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(player.health, 25);

    levelIntroVisible = false;
    collectAndCapture();
    EXPECT_TRUE(field[0].collected);
    EXPECT_TRUE(gameOver);
}

}  // namespace
