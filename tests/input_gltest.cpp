// Keys and buttons as X events to the game's window, through the registered callbacks; the game sits on its first
// banner, where it drives but takes no pickup.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>
#include <functional>
#include <vector>

#include "assets/camera.h"
#include "assets/fog.h"
#include "assets/render_options.h"
#include "audio/sounds.h"
#include "player/controls.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "shell/pause.h"
#include "tests/support/game_driver.h"
#include "tests/support/scripted_clock.h"

namespace {

// Back at the start at rest, half way between two steps, nothing held.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        startDrivenGame();
        for (unsigned char key : {'w', 'a', 's', 'd'}) releaseKey(key);
        releaseButton(GLUT_RIGHT_BUTTON);
        playFrames(1, 16);
        putPlayerAtStart();
        resetDriveState();
        playFrames(1, 16 - unsteppedMs + 8);
    }
};

// Passes at rate frames a second for ms, undrawn; each event goes to the game in the first pass at or after its time.
void frames(int rate, uint32_t ms, const std::vector<std::pair<uint32_t, std::function<void()>>>& events) {
    size_t next = 0;
    for (long frame = 0; frame * 1000 / rate <= ms; ++frame) {
        if (frame > 0) playPass(uint32_t(frame * 1000 / rate - (frame - 1) * 1000 / rate), false);
        while (next < events.size() && events[next].first <= frame * 1000 / rate) events[next++].second();
    }
}

// Whether the projection in force has the design's shape and these near and far planes; a far plane past 100000
// stands for any as far.
bool viewRange(float nearPlane, float farPlane) {
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const float far = m[14] / (m[10] + 1);
    return std::abs(m[5] / m[0] - float(kDesignWidth) / kDesignHeight) < 0.01 &&
           std::abs(m[14] / (m[10] - 1) - nearPlane) < 0.01 &&
           (farPlane > 1e5 ? far > 1e5 : std::abs(far - farPlane) < 1);
}

const GLenum kMag = GL_TEXTURE_MAG_FILTER, kMin = GL_TEXTURE_MIN_FILTER;
GLint filter(GLenum which) { GLint value = 0; return glGetTexParameteriv(GL_TEXTURE_2D, which, &value), value; }

}  // namespace

// A tap between two steps turns for one step; pressed again before that step, the key stays held.
TEST_F(Input, ATapDrivesOneStepAndAPressAfterItHolds) {
    tapKey('a');
    playFrames(3, 16);
    EXPECT_NEAR(player.heading, 0.32, 1e-5);
    tapKey('d');
    pressKey('d');
    playFrames(3, 16);
    EXPECT_NEAR(player.heading, 0.32 - 3 * 0.32, 1e-4) << "'d' held after its quick second press";
    releaseKey('d');
}

// Two taps within one step fire twice; a held key's repeats neither fire nor toggle; capitals do not drive, but a
// capital release lets go of its letter.
TEST_F(Input, RepeatsDoNothingAndCapitalsDoNotDrive) {
    player.ammo = 2;
    gameOutput();
    tapKey(' '), tapKey(' ');
    EXPECT_EQ(player.ammo, 0) << "a double tap within one step fires twice";
    for (int repeat = 0; repeat < 2; ++repeat) pressKey(' '), pressKey('c');
    releaseKey(' '), releaseKey('c');
    EXPECT_EQ(gameOutput(), "IMA CHARGIN MAH LAZERS!\nIMA CHARGIN MAH LAZERS!\nOut of ammobbb\n") << "no repeat fires";
    EXPECT_TRUE(player.cameraPulledBack) << "nor toggle";
    pressKey('c'), releaseKey('C');
    tapKey('c');
    EXPECT_TRUE(player.cameraPulledBack) << "a letter let go as its capital is pressed afresh";
    tapKey('c');
    pressKey('W');
    playFrames(2, 16);
    EXPECT_EQ(drive.forwardSpeed, 0) << "'W' does not drive";
    releaseKey('W'), pressKey('w');
    playFrames(2, 16);
    releaseKey('W');
    playFrames(2, 16);
    EXPECT_EQ(drive.forwardSpeed, 0) << "'w' let go by its capital release";
}

// The same script at 5 and 240 frames a second ends the same: keys, the boost button and the steps between them.
TEST_F(Input, TheSameDriveAtEveryFrameRate) {
    std::vector<float> ends[2];
    for (int rate : {5, 240}) {
        SetUp();
        player.boostPoints = 200;
        frames(rate, 4000, {{0, [] { pressKey('w'), pressButton(GLUT_RIGHT_BUTTON); }},
                            {1000, [] { releaseButton(GLUT_RIGHT_BUTTON), pressKey('a'); }},
                            {1400, [] { releaseKey('a'), releaseKey('w'), pressKey('s'); }},
                            {3000, [] { releaseKey('s'); }}});
        ends[rate == 240] = {player.cameraPos.x, player.cameraPos.z, player.heading, drive.forwardSpeed,
                             drive.reverseSpeed, float(player.boostPoints)};
    }
    EXPECT_EQ(ends[0], ends[1]);
    EXPECT_TRUE(ends[0][1] < 4970 - 100 && ends[0][5] < 200 - 50) << "the script did drive and boost";
}

// Keys and buttons act from the moment they come, though no pass of the main loop came since the last: the steps due
// before a press or a release run without it.
TEST_F(Input, InputActsFromTheMomentItComes) {
    player.boostPoints = 100;
    scriptedNowMs += 160;  // ten steps due
    pressKey('w');
    playPass(16);
    EXPECT_EQ(drive.forwardSpeed, 1) << "the steps before the key drove without it";
    scriptedNowMs += 160;
    pressButton(GLUT_RIGHT_BUTTON);
    playPass(16);
    EXPECT_EQ(player.boostPoints, 99) << "nor boosted before the button";
    releaseButton(GLUT_RIGHT_BUTTON);
    scriptedNowMs += 160;
    releaseKey('w');
    playPass(16);
    EXPECT_EQ(drive.forwardSpeed, 12 + 10 - 1) << "and drove on until the key came up";
}

// With the focus on another window the game pauses: the keys and the button held are let go, game time stands still,
// every sound is held and the overlay says PAUSED; back in focus, play goes on from where it stopped, the time away
// thrown away. Without auto-pause the keys are still let go, and the car coasts meanwhile. The focus inside the game's
// window stays with the game.
TEST_F(Input, FocusAwayPausesTheGameAndLetsGoOfTheKeys) {
    pressKey('w');
    focusInsideGame();
    playFrames(2, 16);
    EXPECT_TRUE(keys.forward && !gamePaused()) << "focus inside the game's window";
    focusGame();
    releaseKey('w');
    for (bool autoPause : {true, false}) {
        SetUp();
        setAutoPause(autoPause);
        pressKey('w'), pressKey('a'), pressButton(GLUT_RIGHT_BUTTON);
        playFrames(30, 16);
        const float speed = drive.forwardSpeed;
        const Pixel inPlay = framePixel(100, 395);
        focusElsewhere();
        playFrames(10, 100);
        EXPECT_FALSE(keys.forward || keys.left || rightButtonDown);
        EXPECT_EQ(drive.forwardSpeed, autoPause ? speed : 0) << "game time stands still while paused";
        EXPECT_EQ(allSoundHeld(), autoPause);
        EXPECT_EQ(framePixel(100, 395) != inPlay, autoPause) << "the PAUSED band";
        focusGame();
        playFrames(10, 16);
        EXPECT_EQ(drive.forwardSpeed, autoPause ? speed - 10 : 0) << "play goes on where it stopped";
        EXPECT_FALSE(allSoundHeld());
        pressKey('w');
        playFrames(10, 16);
        EXPECT_TRUE(keys.forward && drive.forwardSpeed > 5) << "a pedal pressed again on return drives";
        releaseKey('w'), releaseKey('a'), releaseButton(GLUT_RIGHT_BUTTON);
    }
    setAutoPause(true);
}

// Each function key acts at once, between frames, and says so where it always did; F5 steps through three modes, off
// taking F4's filter, the others undo themselves on a second press. F6 follows its own flag, not the fog that a level
// start left: after a fogged start, its first press keeps the fog.
TEST_F(Input, FunctionKeysDoWhatTheyAlwaysDid) {
    playFrames(1);
    gameOutput();
    const struct { int key; bool (*done)(); const char* said; } presses[] = {
        {GLUT_KEY_F1, [] { return renderOptions.helpVisible; }, ""},
        {GLUT_KEY_F2, [] { return renderOptions.fpsVisible; }, ""},
        {GLUT_KEY_F3, [] { GLint modes[2]; glGetIntegerv(GL_POLYGON_MODE, modes); return modes[0] == GL_LINE; }, ""},
        {GLUT_KEY_F4, [] { return filter(kMag) == GL_LINEAR; }, "Switched to bilinear texture sampling\n"},
        {GLUT_KEY_F5, [] { return filter(kMin) == GL_LINEAR; }, "Mipmapping is off\n"},
        {GLUT_KEY_F5, [] { return filter(kMin) == GL_NEAREST_MIPMAP_NEAREST; }, "Mipmapping is nearest neighbor\n"},
        {GLUT_KEY_F5, [] { return filter(kMin) == GL_LINEAR_MIPMAP_LINEAR; }, "Mipmapping is linear\n"},
        {GLUT_KEY_F6, [] { return glIsEnabled(GL_FOG) == GL_TRUE; }, ""},
        {GLUT_KEY_F8, [] { return viewRange(1, 200); }, "Frustum Culling off\n"},
        {GLUT_KEY_F9, [] { return glIsEnabled(GL_BLEND) && !glIsEnabled(GL_DEPTH_TEST); }, "Transparancy off\n"},
        {GLUT_KEY_F4, [] { return filter(kMag) == GL_NEAREST; }, "Switched to nearest neighbor texture sampling\n"},
        {GLUT_KEY_F5, [] { return filter(kMin) == GL_NEAREST; }, "Mipmapping is off\n"},
        {GLUT_KEY_F8, [] { return viewRange(0.5, 1e6); }, "Frustum Culling on\n"},
        {GLUT_KEY_F9, [] { return !glIsEnabled(GL_BLEND) && glIsEnabled(GL_DEPTH_TEST); }, "Transparancy on\n"},
        {GLUT_KEY_F1, [] { return !renderOptions.helpVisible; }, ""},
        {GLUT_KEY_F2, [] { return !renderOptions.fpsVisible; }, ""},
        {GLUT_KEY_F3, [] { GLint modes[2]; glGetIntegerv(GL_POLYGON_MODE, modes); return modes[0] == GL_FILL; }, ""},
        {GLUT_KEY_F6, [] { return glIsEnabled(GL_FOG) == GL_FALSE; }, ""}};
    for (const auto& press : presses) {
        tapSpecialKey(press.key);
        EXPECT_TRUE(press.done()) << "F" << press.key;
        EXPECT_EQ(gameOutput(), press.said) << "F" << press.key;
    }
    switchFog(true);
    tapSpecialKey(GLUT_KEY_F6);
    EXPECT_TRUE(glIsEnabled(GL_FOG)) << "the first F6 after a fogged level start";
    tapSpecialKey(GLUT_KEY_F6);
}

// One loop at a time: accelerating, at top speed, braking, and rolling to a stop.
TEST_F(Input, EachPedalBringsInItsEngineLoop) {
    using S = EngineSound;
    const struct { unsigned char key; bool down; int passes; S heard; } script[] = {{'w', true, 20, S::accelerating},
        {'w', true, 110, S::topSpeed}, {'w', false, 0, S::none}, {'s', true, 20, S::idle}, {'s', false, 20, S::idle}};
    for (const auto& step : script) {
        step.down ? pressKey(step.key) : releaseKey(step.key);
        if (step.heard == S::none) continue;
        playFrames(step.passes, 16);
        for (S loop : {S::accelerating, S::topSpeed, S::idle})
            EXPECT_EQ(engineLoopPlaying(loop), loop == step.heard) << step.key << step.down << ", loop " << int(loop);
    }
}
