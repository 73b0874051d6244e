// What the frame leaves out changes no pixel; the real game through the game driver.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <tuple>
#include <vector>

#include "player/pickups.h"
#include "player/player.h"
#include "shell/frame_pose.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/view_volume.h"
#include "tests/support/game_driver.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

// The camera at eye looking along view, the sky round it, as the next frame draws them; the camera applied.
void lookFrom(Vec3 eye, Vec3 view) {
    std::tie(player.cameraPos, player.viewDir, sky.centreX, sky.centreZ) = std::make_tuple(eye, view, eye.x, eye.z);
    rememberStepPose();
    glLoadIdentity();
    applyCamera();
}

std::vector<Pixel> picture() {
    std::vector<Pixel> pixels;
    for (int at = 0; at < kDesignWidth * kDesignHeight; at += 4)
        pixels.push_back(framePixel(at % kDesignWidth, at / kDesignWidth));
    return pixels;
}

std::vector<Pixel> frameOverClearColour(float red, float green, float blue) {
    glClearColor(red, green, blue, 1);
    playPass(0);
    return picture();
}

}  // namespace

// The sky is left out only behind the ground: no clear colour shows ahead, behind, aside at the road's end, or below.
TEST(Frame, NoClearColourShowsWhereTheSkyIsLeftOut) {
    startDrivenGame();
    levelIntroVisible = false;
    const Vec3 poses[][2] = {{{0, 17, 4970}, {0, -0.4f, -1}}, {{0, 17, 4970}, {0, -0.1f, 1}},
                             {{240, 17, -4840}, {1, -0.05f, -0.3f}}, {{-200, 17, 0}, {-1, -1.5f, -1}}};
    for (const auto& pose : poses) {
        lookFrom(pose[0], pose[1]);
        EXPECT_TRUE(frameOverClearColour(1, 0, 1) == frameOverClearColour(0, 1, 0)) << pose[0].z << ", " << pose[1].x;
    }
    glClearColor(0, 0, 0, 0);
}

// A mushroom ahead is drawn near or 2000 units off; not one behind the eye, aside, or where fog leaves under 1/255.
TEST(Frame, PickupsOutOfViewOrLostInFogAreNotDrawn) {
    startDrivenGame();
    lookFrom({0, 17, 4970}, {0, -0.4f, -1});
    const struct { Vec3 at; bool fog, shown; } cases[] = {
        {{0, 5, 4900}, false, true}, {{0, 28, 5000}, false, false}, {{150, 5, 4900}, false, false},
        {{0, 5, 3000}, false, true}, {{0, 5, 3000}, true, false}, {{0, 5, 4000}, true, true}};
    for (const auto& c : cases) {
        c.fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
        const bool shown = ballCanShow(viewVolumeNow(), c.at, pickupDrawnRadius(kYellowMushroom));
        EXPECT_EQ(shown, c.shown) << c.at.x << ", " << c.at.z << " fog " << c.fog;
    }
    glDisable(GL_FOG);
}

// A banner hides the scene, which is then left out; but in wireframe the scene shows between its lines.
TEST(Frame, TheSceneShowsUnderAWireframeBanner) {
    startDrivenGame();
    levelIntroVisible = true;
    tapSpecialKey(GLUT_KEY_F3);
    lookFrom({0, 17, 4970}, {0, -0.4f, -1});
    const std::vector<Pixel> ahead = frameOverClearColour(0, 0, 0);
    lookFrom({0, 17, 4970}, {0, -0.1f, 1});
    EXPECT_NE(ahead, frameOverClearColour(0, 0, 0));
    tapSpecialKey(GLUT_KEY_F3);
}

// Far off, the terrain's coarser grid covers the full grid's pixels but for a few along its outline.
TEST(Frame, FarTerrainDrawnCoarserCoversTheSamePixels) {
    startDrivenGame();
    lookFrom({0, 30, 800}, {0, -0.04f, -1});
    std::vector<Pixel> pictures[2];
    for (bool coarse : {false, true}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        coarse ? drawTerrain(viewVolumeNow()) : glCallList(terrainDrawing.lists[0]);
        pictures[coarse] = picture();
    }
    int covered = 0, differing = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) {
        covered += pictures[0][i] != Pixel{};
        differing += (pictures[0][i] != Pixel{}) != (pictures[1][i] != Pixel{});
    }
    EXPECT_GT(covered, 400);
    EXPECT_LE(differing, covered / 50);
}
