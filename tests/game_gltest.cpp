// The game's camera, frame-rate count and matrix stacks, in this process through the game driver.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include "player/player.h"
#include "shell/frame_render.h"
#include "tests/support/game_driver.h"

// The eye is where the view transform sends the origin: -R^T t. Pulled back, it sits 30 units further along z.
TEST(Game, PulledBackTheEyeSits30UnitsFurtherAlongZ) {
    startDrivenGame();
    for (bool pulledBack : {false, true, false}) {
        if (player.cameraPulledBack != pulledBack) tapKey('c');
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        applyCamera();
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const float eyeZ = -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]);
        EXPECT_NEAR(eyeZ, player.cameraPos.z + (pulledBack ? 30 : 0), 0.05) << pulledBack;
    }
}

TEST(Game, FrameRateCountsDrawnFramesAndFramesLeaveTheMatrixStacksAlone) {
    startDrivenGame();
    playFrames(50, 50);
    EXPECT_EQ(framesPerSecond, 20) << "frames 50 ms apart";
    playFrames(100, 25);
    EXPECT_EQ(framesPerSecond, 40);
    GLint projections = 0, models = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projections);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &models);
    EXPECT_TRUE(projections == 1 && models == 1) << projections << " " << models;
}
