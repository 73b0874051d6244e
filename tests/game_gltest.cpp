// The game's keys, camera, frame-rate count and overlay state, in this process
// through the game driver.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <string>

#include "audio/sounds.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"

TEST(Game, FunctionKeysSayWhatTheySetOnTheBoundTexture) {
    startDrivenGame();
    playFrames(2);
    gameOutput();
    const struct { int key; const char* line; GLint minFilter; } presses[] = {
        {GLUT_KEY_F5, "Mipmapping is off", GL_NEAREST},
        {GLUT_KEY_F4, "Switched to bilinear texture sampling", GL_LINEAR},
        {GLUT_KEY_F5, "Mipmapping is nearest neighbor", GL_NEAREST_MIPMAP_NEAREST},
        {GLUT_KEY_F5, "Mipmapping is linear", GL_LINEAR_MIPMAP_LINEAR},
        {GLUT_KEY_F5, "Mipmapping is off", GL_LINEAR},
        {GLUT_KEY_F4, "Switched to nearest neighbor texture sampling", GL_NEAREST}};
    for (const auto& press : presses) {
        solidTexture(0, 0, 0);
        tapSpecialKey(press.key);
        EXPECT_EQ(gameOutput(), std::string(press.line) + "\n");
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, press.minFilter) << press.line;
    }
}

TEST(Game, FiringUntilEmptyAndCapitalLettersDoNotDrive) {
    startDrivenGame();
    player.ammo = 1;
    tapKey(' ');
    pressMouse(GLUT_LEFT_BUTTON);
    releaseMouse(GLUT_LEFT_BUTTON);
    EXPECT_EQ(gameOutput(), "IMA CHARGIN MAH LAZERS!\nOut of ammobbb\n");
    EXPECT_EQ(player.ammo, 0);

    pressKey('w');
    playFrames(1);
    releaseKey('W');
    EXPECT_FALSE(keys.forward) << "a release lets go in either case";
    pressKey('W');
    EXPECT_FALSE(keys.forward) << "only lower case drives";
    releaseKey('W');
}

TEST(Game, PulledBackTheEyeSits30UnitsFurtherAlongZ) {
    startDrivenGame();
    for (bool pulledBack : {false, true}) {
        if (player.cameraPulledBack != pulledBack) tapKey('c');
        ASSERT_EQ(player.cameraPulledBack, pulledBack);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        applyCamera();
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        // The eye is where the view transform sends to the origin: -R^T t.
        float eyeZ = -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]);
        EXPECT_NEAR(eyeZ, player.cameraPos.z + (pulledBack ? 30 : 0), 0.05);
    }
    tapKey('c');
}

TEST(Game, FrameRateCountsDrawnFramesAndFramesLeaveTheMatrixStacksAlone) {
    startDrivenGame();
    playFrames(50, 50);
    EXPECT_EQ(framesPerSecond, 20) << "frames 50 ms apart";
    playFrames(100, 25);
    EXPECT_EQ(framesPerSecond, 40);
    for (GLenum depth : {GL_PROJECTION_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH}) {
        GLint stacked = 0;
        glGetIntegerv(depth, &stacked);
        EXPECT_EQ(stacked, 1);
    }
}

TEST(Game, EachBannerBringsInItsTrackAndBrakingTheIdleLoop) {
    startDrivenGame();
    auto playing = [](FMOD::Channel* channel) {
        bool paused = true;
        return channel && channel->getPaused(&paused) == FMOD_OK && !paused;
    };
    for (int banner = 1; banner <= 3; ++banner) {
        playFrames(1);
        ASSERT_EQ(levelNumber, banner);
        EXPECT_EQ(playing(musicChannel1), banner == 1) << "on banner " << banner;
        EXPECT_EQ(playing(musicChannel2), banner == 2) << "on banner " << banner;
        EXPECT_EQ(playing(musicChannel3), banner == 3) << "on banner " << banner;
        tapSpecialKey(GLUT_KEY_HOME);
        playFrames(1);
        player.cameraPos.z = -4840;  // a step short of the finish line
        pressKey('w');
        playFrames(8);
        releaseKey('w');
    }
    pressKey('s');
    playFrames(2);
    releaseKey('s');
    EXPECT_TRUE(playing(engineIdleChannel));
    EXPECT_FALSE(playing(engineAccChannel) || playing(engineMaxChannel));
}
