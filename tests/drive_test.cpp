// The drive logic as sequences of passes: chosen keys, chosen time steps,
// and the engine loop each pass selects.
#include <gtest/gtest.h>

#include <cmath>

#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/skybox.h"

namespace {

const Player startingPlayer = player;
const uint32_t kSixteenMs = 16;

class Drive : public ::testing::Test {
protected:
    void SetUp() override {
        player = startingPlayer;
        player.skybox = &sky;
        sky.centreX = 0;
        sky.centreZ = 0;
        resetDriveState();
        keys = KeyState{};
        rightButtonDown = false;
        engineSound = EngineSound::none;
        tick = 1000;
        lastTickMs = tick;
    }

    // One pass of the frame update, ms milliseconds after the previous one.
    void pass(uint32_t ms) {
        tick += ms;
        runDrivePass(tick);
    }

    void passes(int count, uint32_t ms) {
        for (int i = 0; i < count; ++i) pass(ms);
    }

    uint32_t tick = 0;
};

}  // namespace

TEST_F(Drive, ForwardKeyReachesTopSpeedIn120PassesThenHoldsIt) {
    keys.forward = true;
    pass(kSixteenMs);
    EXPECT_EQ(drive.forwardSpeed, 1);
    EXPECT_EQ(player.cameraPos.z, startingPlayer.cameraPos.z) << "first pass travels at level 0";
    EXPECT_EQ(engineSound, EngineSound::accelerating);

    for (int level = 2; level <= 120; ++level) {
        pass(kSixteenMs);
        ASSERT_EQ(drive.forwardSpeed, level);
        ASSERT_EQ(engineSound, EngineSound::accelerating) << "at level " << level;
    }
    pass(kSixteenMs);
    EXPECT_EQ(drive.forwardSpeed, 120);
    EXPECT_EQ(engineSound, EngineSound::topSpeed);

    float travelled = startingPlayer.cameraPos.z - player.cameraPos.z;
    EXPECT_GT(travelled, 0);
    EXPECT_FLOAT_EQ(player.vehiclePos.z, player.cameraPos.z - 30);
    EXPECT_NEAR(sky.centreZ, -travelled, 0.01) << "the sky travels with the camera";
}

TEST_F(Drive, BrakingReversingAndBothKeys) {
    // Backward key while rolling forward brakes by two levels a pass.
    drive.forwardSpeed = 10;
    keys.backward = true;
    for (float expected : {8, 6, 4, 2, 0}) {
        pass(kSixteenMs);
        ASSERT_EQ(drive.forwardSpeed, expected);
        EXPECT_EQ(engineSound, EngineSound::idle);
    }
    float zBeforeReversing = player.cameraPos.z;
    pass(kSixteenMs);
    EXPECT_EQ(drive.reverseSpeed, 1);
    passes(20, kSixteenMs);
    EXPECT_EQ(drive.reverseSpeed, 21);
    EXPECT_GT(player.cameraPos.z, zBeforeReversing) << "reversing moves towards +z";
    EXPECT_EQ(engineSound, EngineSound::idle);

    // Forward key while rolling backward: brake and coast in one pass; the brake
    // alone leaves the engine loop as it was.
    keys = KeyState{};
    keys.forward = true;
    drive.reverseSpeed = 3;
    pass(kSixteenMs);
    EXPECT_EQ(drive.reverseSpeed, 1);
    engineSound = EngineSound::none;
    pass(kSixteenMs);
    EXPECT_EQ(drive.reverseSpeed, 0);
    EXPECT_EQ(engineSound, EngineSound::none);

    // Both keys: the faster direction slows by one, still moving, wheels still.
    resetDriveState();
    drive.forwardSpeed = 10;
    keys.backward = true;
    float wheelAngle = player.wheelAngle;
    float z = player.cameraPos.z;
    passes(4, 50);
    EXPECT_EQ(drive.forwardSpeed, 6);
    EXPECT_EQ(drive.reverseSpeed, 0);
    EXPECT_LT(player.cameraPos.z, z);
    EXPECT_EQ(player.wheelAngle, wheelAngle);
    EXPECT_EQ(engineSound, EngineSound::idle);
}

TEST_F(Drive, CoastingStopsInEitherDirectionAndRestIsSilent) {
    struct Case {
        float forward, reverse;
        bool movesTowardMinusZ;
    };
    for (Case c : {Case{5, 0, true}, Case{0, 5, false}}) {
        SetUp();
        drive.forwardSpeed = c.forward;
        drive.reverseSpeed = c.reverse;
        float z = player.cameraPos.z;
        passes(5, 50);
        EXPECT_EQ(drive.forwardSpeed, 0);
        EXPECT_EQ(drive.reverseSpeed, 0);
        EXPECT_EQ(engineSound, EngineSound::idle);
        EXPECT_EQ(player.cameraPos.z < z, c.movesTowardMinusZ);
        EXPECT_EQ(player.wheelSpin, c.movesTowardMinusZ ? -1 : +1);
    }
    // At rest with no key nothing chooses a loop.
    engineSound = EngineSound::none;
    Vec3 pos = player.cameraPos;
    passes(10, 50);
    EXPECT_EQ(engineSound, EngineSound::none);
    EXPECT_EQ(player.cameraPos.z, pos.z);
}

TEST_F(Drive, ZeroTimeStepMovesOnlyByBoostWhilePointsLast) {
    keys.forward = true;
    rightButtonDown = true;
    player.boostPoints = 2;
    float z = player.cameraPos.z;
    passes(3, 0);
    EXPECT_FLOAT_EQ(player.cameraPos.z, z - 10) << "5 units for each of the two points";
    EXPECT_EQ(player.boostPoints, 0);
    EXPECT_EQ(drive.forwardSpeed, 3) << "speed levels change even without time";
    EXPECT_EQ(player.wheelAngle, 0);

    keys.left = true;
    pass(0);
    EXPECT_EQ(player.heading, 0);
}

TEST_F(Drive, TurningRotatesTheViewAboutTheUpAxis) {
    keys.left = true;
    passes(10, 100);  // frameDt 1.0: 2 degrees a pass
    EXPECT_NEAR(player.heading, 20, 1e-4);
    EXPECT_LT(player.viewDir.x, 0) << "a left turn swings the view towards -x";
    Vec3 unit = normalize(player.viewDir);
    EXPECT_FLOAT_EQ(unit.z, player.viewDir.z) << "the view stays of unit length";
    EXPECT_FLOAT_EQ(player.rightDir.x, cross(player.viewDir, player.upDir).x);

    keys.right = true;
    passes(5, 100);
    EXPECT_NEAR(player.heading, 20, 1e-4) << "both turn keys cancel";
    keys.left = false;
    passes(20, 100);
    EXPECT_NEAR(player.heading, -20, 1e-3);
    EXPECT_GT(player.viewDir.x, 0);
}

TEST_F(Drive, StartPlacementAndSteppingStayInsideTheWorld) {
    moveBy({0.0f, 3.0f, 0.1f});
    EXPECT_FLOAT_EQ(player.vehiclePos.z, 4940.1f);
    stepBack(1.0f);
    EXPECT_FLOAT_EQ(player.cameraPos.y, 17);
    EXPECT_FLOAT_EQ(player.cameraPos.z, 4971.1f);

    // Backing up stops where the probe point, 30 ahead, would reach 4985.
    for (int i = 0; i < 100; ++i) stepBack(1);
    EXPECT_LT(player.cameraPos.z, 5015);
    EXPECT_GT(player.cameraPos.z, 5014);

    // The far end of the road.
    player.cameraPos = {0, 17, -4950};
    player.vehiclePos = {0, 5, -4980};
    stepBack(-10);
    EXPECT_EQ(player.cameraPos.z, -4950);
    stepBack(-3);
    EXPECT_EQ(player.cameraPos.z, -4953);

    // The side probe, and a distance that is not a number.
    player.cameraPos = {4970, 17, 0};
    player.vehiclePos = {4970, 5, -30};
    stepBack(10);
    EXPECT_EQ(player.cameraPos.z, 0);
    stepBack(std::nanf(""));
    EXPECT_EQ(player.cameraPos.z, 0);
}

TEST_F(Drive, WheelsSpinByWholeDegreesUpToSix) {
    struct Case {
        float speed;
        uint32_t ms;
        float degrees;
    };
    // 9 x 0.1 = 0.9 spins nothing; 75 x 0.1 = 7.5 is capped at 6; 30 x 0.1 = 3.
    for (Case c : {Case{9, 10, 0}, Case{75, 10, 6}, Case{30, 10, 3}}) {
        SetUp();
        drive.forwardSpeed = c.speed;
        keys.forward = true;
        pass(c.ms);
        EXPECT_EQ(player.wheelAngle, c.degrees) << "speed " << c.speed;
        EXPECT_EQ(player.wheelSpin, -1);
    }
    SetUp();
    drive.reverseSpeed = 30;
    keys.backward = true;
    pass(10);
    EXPECT_EQ(player.wheelAngle, 3);
    EXPECT_EQ(player.wheelSpin, +1);
}

TEST_F(Drive, TimeStepSurvivesTheTickCounterWrapping) {
    struct Case {
        uint64_t last;
        uint32_t now;
    };
    for (Case c : {Case{0xFFFFFFF0u, 0x10u}, Case{1000, 1032}}) {
        SetUp();
        drive.forwardSpeed = 10;
        lastTickMs = c.last;
        runDrivePass(c.now);
        EXPECT_FLOAT_EQ(drive.forwardStep, 3.2f);  // 10 x 0.32
        EXPECT_NEAR(startingPlayer.cameraPos.z - player.cameraPos.z, 1.024, 1e-3);
        EXPECT_EQ(lastTickMs, c.now);
    }
}
