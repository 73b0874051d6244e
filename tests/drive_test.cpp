// The drive logic in fixed steps of game time: keys, speeds, turning, bounds,
// and the same game at every frame rate.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <functional>
#include <vector>

#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_pose.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "tests/support/scripted_clock.h"
#include "world/levels.h"
#include "world/skybox.h"

namespace {

const Player startingPlayer = player;

void press(unsigned char key) { onKeyDown(key, 0, 0); }
void release(unsigned char key) { onKeyUp(key, 0, 0); }

class Drive : public ::testing::Test {
protected:
    void SetUp() override {
        player = startingPlayer;
        player.skybox = &sky;
        sky = Skybox{};
        resetDriveState();
        keys = KeyState{};
        engineSound = EngineSound::none;
        lastTickMs = scriptedNowMs;
        unsteppedMs = 0;
        level.pickupCount = 0;
        gameOver = levelComplete = levelIntroVisible = false;
    }

    void steps(int count) {
        for (int i = 0; i < count; ++i) runGameStep();
    }

    // Passes at rate frames a second for ms; each event goes to the game in the first pass at or after its time.
    void frames(int rate, uint32_t ms, const std::vector<std::pair<uint32_t, std::function<void()>>>& events = {}) {
        uint32_t start = scriptedNowMs;
        size_t next = 0;
        for (long frame = 0; frame * 1000 / rate <= ms; ++frame) {
            scriptedNowMs = start + uint32_t(frame * 1000 / rate);
            while (next < events.size() && events[next].first <= scriptedNowMs - start) events[next++].second();
            catchUpGameTime();
        }
    }
};

}  // namespace

TEST_F(Drive, AcceleratingBrakingReversingAndCoasting) {
    keys.forward = true;
    steps(1);
    EXPECT_EQ(player.cameraPos.z, startingPlayer.cameraPos.z) << "the first step travels at level 0";
    for (int speed = 1; speed <= 120; ++speed, steps(1)) {
        ASSERT_EQ(drive.forwardSpeed, speed);
        ASSERT_EQ(engineSound, EngineSound::accelerating);
    }
    EXPECT_EQ(engineSound, EngineSound::topSpeed);
    float z = player.cameraPos.z;
    steps(1);
    EXPECT_NEAR(z - player.cameraPos.z, 120 * 0.16 * 0.16, 1e-3) << "192 units a second";
    EXPECT_NEAR(sky.centreZ, player.cameraPos.z - startingPlayer.cameraPos.z, 0.01) << "the sky travels along";

    keys = {false, false, true, false};
    drive.forwardSpeed = 10;
    for (float expected : {8, 6, 4, 2, 0, 0}) {
        steps(1);
        ASSERT_EQ(drive.forwardSpeed, expected) << "braking is twice as strong as coasting";
    }
    EXPECT_EQ(drive.reverseSpeed, 1);
    EXPECT_EQ(engineSound, EngineSound::idle);

    keys = {true, false, true, false};
    drive.reverseSpeed = 3;
    steps(2);
    EXPECT_EQ(drive.reverseSpeed, 1) << "both keys slow the faster direction by one";
    keys = KeyState{};
    z = player.cameraPos.z;
    steps(2);
    EXPECT_TRUE(drive.reverseSpeed == 0 && player.cameraPos.z > z) << "coasting backward";
}

TEST_F(Drive, TurningKeepsTheCameraFrameSquare) {
    keys.left = true;
    steps(100);
    EXPECT_NEAR(player.heading, 32, 1e-3) << "20 degrees a second";
    const Vec3 &view = player.viewDir, &right = player.rightDir;
    EXPECT_LT(view.x, 0) << "a left turn swings the view towards -x";
    EXPECT_NEAR(view.x * right.x + view.y * right.y + view.z * right.z, 0, 1e-5);
    EXPECT_LT(right.z, -0.4) << "the right vector turns with the view";
    keys.right = true;
    steps(5);
    EXPECT_NEAR(player.heading, 32, 1e-3) << "both turn keys cancel";
}

TEST_F(Drive, SteppingStaysInsideTheWorld) {
    for (int i = 0; i < 100; ++i) stepBack(1);
    EXPECT_NEAR(player.cameraPos.z, 5014.5, 0.5) << "the probe 30 ahead stops at 4985";
    player.cameraPos = {4970, 17, 0};
    player.vehiclePos = {4970, 5, -30};
    stepBack(10);
    stepBack(std::nanf(""));
    EXPECT_EQ(player.cameraPos.z, 0) << "the side probe and a distance that is not a number";
}

TEST_F(Drive, TheSameDriveAtEveryFrameRate) {
    std::vector<float> ends[2];
    for (int run = 0; run < 2; ++run) {
        SetUp();
        frames(run == 0 ? 5 : 240, 4000,
               {{0, [] { press('w'); onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0); }},
                {1000, [] { onMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0); press('a'); }},
                {1400, [] { release('a'); release('w'); press('s'); }},
                {3000, [] { release('s'); }}});
        ends[run] = {player.cameraPos.x, player.cameraPos.z, player.heading, drive.forwardSpeed,
                     drive.reverseSpeed, float(player.boostPoints)};
    }
    EXPECT_EQ(ends[0], ends[1]);
    EXPECT_LT(ends[0][1], startingPlayer.cameraPos.z - 100) << "the script did drive";
}

TEST_F(Drive, AStallOrAWrappedTickRunsOnlyTheStepsDue) {
    keys.forward = true;
    scriptedNowMs += 2000;
    catchUpGameTime();
    EXPECT_EQ(drive.forwardSpeed, 15) << "a pass runs at most 250 ms: 15 steps";
    EXPECT_EQ(unsteppedMs, 10u);
    SetUp();
    keys.forward = true;
    lastTickMs = 0xFFFFFFF0u;
    advanceGameTime(0x10u);
    EXPECT_EQ(drive.forwardSpeed, 2) << "32 ms across the wrap";
}

TEST_F(Drive, TapsActOnceAndRepeatsNotAtAll) {
    press('a');
    release('a');
    steps(2);
    EXPECT_NEAR(player.heading, 0.32, 1e-5) << "a tap between two steps turns for one step";
    player.ammo = 5;
    for (int tap = 0; tap < 2; ++tap) press(' '), release(' ');
    EXPECT_EQ(player.ammo, 3) << "a double tap within one step fires twice";
    press(' ');
    press(' ');
    onSpecialKey(GLUT_KEY_F2, 0, 0);
    onSpecialKey(GLUT_KEY_F2, 0, 0);
    release(' ');
    onSpecialKeyUp(GLUT_KEY_F2, 0, 0);
    EXPECT_EQ(player.ammo, 2) << "a held key's repeats do not fire";
    EXPECT_TRUE(renderOptions.fpsVisible) << "nor toggle";
}

TEST_F(Drive, EveryStepSeesTheRoadLimitsAndThePickups) {
    const struct { float x, z; bool complete, over; } cases[] = {
        {250, -4849.9f, false, false}, {-250, -4850, true, false}, {250.01f, 0, false, true}};
    for (auto c : cases) {
        SetUp();
        player.cameraPos = {c.x, 17, c.z};
        steps(1);
        EXPECT_EQ(levelComplete, c.complete) << c.x << " " << c.z;
        EXPECT_EQ(gameOver, c.over) << c.x << " " << c.z;
    }
    // At 5 frames a second the car moves 38 units a frame at top speed.
    SetUp();
    Pickup rifle;
    rifle.kind = kRifle;
    rifle.radius = 15;
    rifle.position = {0, 3, -1000};
    level.pickups = &rifle;
    level.pickupCount = 1;
    press('w');
    frames(5, 60000);
    release('w');
    EXPECT_TRUE(rifle.collected);
    EXPECT_TRUE(levelComplete);
    level.pickupCount = 0;
}

TEST_F(Drive, FramesBetweenStepsDrawEvenMotion) {
    drive.forwardSpeed = 120;
    keys.forward = true;
    steps(1);
    float lastZ = 0;
    for (int frame = 0; frame < 30; ++frame) {
        uint32_t ms = (frame % 3 == 0) ? 6 : 7;  // 144 frames a second
        scriptedNowMs += ms;
        catchUpGameTime();
        showDrawnPose(stepFraction());
        if (frame > 0) {
            EXPECT_NEAR(lastZ - player.cameraPos.z, 3.072f * ms / 16, 0.01) << "frame " << frame;
        }
        lastZ = player.cameraPos.z;
        restoreStepPose();
    }
}
