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

class Drive : public ::testing::Test {
protected:
    void SetUp() override {
        player = startingPlayer;
        player.skybox = &sky;
        sky.centreX = sky.centreZ = 0;
        resetDriveState();
        keys = KeyState{};
        rightButtonDown = false;
        engineSound = EngineSound::none;
        lastTickMs = tick = 1000;
    }

    // count passes of the frame update, each ms milliseconds after the previous one.
    void passes(int count, uint32_t ms) {
        for (int i = 0; i < count; ++i) runDrivePass(tick += ms);
    }

    uint32_t tick = 0;
};

}  // namespace

TEST_F(Drive, ForwardKeyReachesTopSpeedIn120PassesThenHoldsIt) {
    keys.forward = true;
    passes(1, 16);
    EXPECT_EQ(player.cameraPos.z, startingPlayer.cameraPos.z) << "first pass travels at level 0";
    for (int level = 1; level <= 120; ++level, passes(1, 16)) {
        ASSERT_EQ(drive.forwardSpeed, level);
        ASSERT_EQ(engineSound, EngineSound::accelerating) << "at level " << level;
    }
    EXPECT_EQ(drive.forwardSpeed, 120);
    EXPECT_EQ(engineSound, EngineSound::topSpeed);

    float travelled = startingPlayer.cameraPos.z - player.cameraPos.z;
    EXPECT_GT(travelled, 0);
    EXPECT_FLOAT_EQ(player.vehiclePos.z, player.cameraPos.z - 30);
    EXPECT_NEAR(sky.centreZ, -travelled, 0.01) << "the sky travels with the camera";
}

TEST_F(Drive, BrakingReversingAndBothKeys) {
    // Backward key while rolling forward brakes by two levels a pass, then reverses.
    drive.forwardSpeed = 10;
    keys.backward = true;
    for (float expected : {8, 6, 4, 2, 0}) {
        passes(1, 16);
        ASSERT_EQ(drive.forwardSpeed, expected);
        EXPECT_EQ(engineSound, EngineSound::idle);
    }
    float zBeforeReversing = player.cameraPos.z;
    passes(21, 16);
    EXPECT_EQ(drive.reverseSpeed, 21);
    EXPECT_GT(player.cameraPos.z, zBeforeReversing) << "reversing moves towards +z";
    EXPECT_EQ(engineSound, EngineSound::idle);

    // Forward key while rolling backward: brake and coast in one pass; the brake
    // alone leaves the engine loop as it was.
    keys = KeyState{};
    keys.forward = true;
    drive.reverseSpeed = 3;
    passes(1, 16);
    EXPECT_EQ(drive.reverseSpeed, 1);
    engineSound = EngineSound::none;
    passes(1, 16);
    EXPECT_EQ(drive.reverseSpeed, 0);
    EXPECT_EQ(engineSound, EngineSound::none);

    // Both keys: the faster direction slows by one, still moving, wheels still.
    resetDriveState();
    drive.forwardSpeed = 10;
    keys.backward = true;
    float wheelAngle = player.wheelAngle, z = player.cameraPos.z;
    passes(4, 50);
    EXPECT_EQ(drive.forwardSpeed, 6);
    EXPECT_EQ(drive.reverseSpeed, 0);
    EXPECT_LT(player.cameraPos.z, z);
    EXPECT_EQ(player.wheelAngle, wheelAngle);
    EXPECT_EQ(engineSound, EngineSound::idle);
}

TEST_F(Drive, CoastingStopsInEitherDirectionAndRestIsSilent) {
    for (bool forward : {true, false}) {
        SetUp();
        (forward ? drive.forwardSpeed : drive.reverseSpeed) = 5;
        float z = player.cameraPos.z;
        passes(5, 50);
        EXPECT_EQ(drive.forwardSpeed + drive.reverseSpeed, 0);
        EXPECT_EQ(engineSound, EngineSound::idle);
        EXPECT_EQ(player.cameraPos.z < z, forward);
        EXPECT_EQ(player.wheelSpin, forward ? -1 : +1);
    }
    engineSound = EngineSound::none;
    float z = player.cameraPos.z;
    passes(10, 50);
    EXPECT_EQ(engineSound, EngineSound::none) << "at rest with no key nothing chooses a loop";
    EXPECT_EQ(player.cameraPos.z, z);
}

TEST_F(Drive, ZeroTimeStepMovesOnlyByBoostWhilePointsLast) {
    keys.forward = rightButtonDown = true;
    player.boostPoints = 2;
    float z = player.cameraPos.z;
    passes(3, 0);
    EXPECT_FLOAT_EQ(player.cameraPos.z, z - 10) << "5 units for each of the two points";
    EXPECT_EQ(player.boostPoints, 0);
    EXPECT_EQ(drive.forwardSpeed, 3) << "speed levels change even without time";
    EXPECT_EQ(player.wheelAngle, 0);
    keys.left = true;
    passes(1, 0);
    EXPECT_EQ(player.heading, 0);
}

TEST_F(Drive, TurningRotatesTheViewAboutTheUpAxis) {
    keys.left = true;
    passes(10, 100);  // a time step of 1.0: 2 degrees a pass
    EXPECT_NEAR(player.heading, 20, 1e-4);
    EXPECT_LT(player.viewDir.x, 0) << "a left turn swings the view towards -x";
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

    // The far end of the road, the side probe, and a distance that is not a number.
    player.cameraPos = {0, 17, -4950};
    player.vehiclePos = {0, 5, -4980};
    stepBack(-10);
    EXPECT_EQ(player.cameraPos.z, -4950);
    stepBack(-3);
    EXPECT_EQ(player.cameraPos.z, -4953);
    player.cameraPos = {4970, 17, 0};
    player.vehiclePos = {4970, 5, -30};
    stepBack(10);
    stepBack(std::nanf(""));
    EXPECT_EQ(player.cameraPos.z, 0);
}

TEST_F(Drive, WheelsSpinByWholeDegreesUpToSix) {
    // 0.9 degrees spins nothing, 7.5 is capped at 6; reversing spins the other way.
    struct Case {
        float forward, reverse, degrees, spin;
    };
    for (Case c : {Case{9, 0, 0, -1}, Case{75, 0, 6, -1}, Case{30, 0, 3, -1}, Case{0, 30, 3, +1}}) {
        SetUp();
        drive.forwardSpeed = c.forward;
        drive.reverseSpeed = c.reverse;
        (c.forward > 0 ? keys.forward : keys.backward) = true;
        passes(1, 10);
        EXPECT_EQ(player.wheelAngle, c.degrees) << c.forward << " " << c.reverse;
        EXPECT_EQ(player.wheelSpin, c.spin);
    }
}

TEST_F(Drive, TimeStepSurvivesTheTickCounterWrapping) {
    for (std::pair<uint64_t, uint32_t> ticks : {std::pair{0xFFFFFFF0ull, 0x10u}, std::pair{1000ull, 1032u}}) {
        SetUp();
        drive.forwardSpeed = 10;
        lastTickMs = ticks.first;
        runDrivePass(ticks.second);
        EXPECT_FLOAT_EQ(drive.forwardStep, 3.2f) << "32 ms at speed 10";
        EXPECT_NEAR(startingPlayer.cameraPos.z - player.cameraPos.z, 1.024, 1e-3);
        EXPECT_EQ(lastTickMs, ticks.second);
    }
}
