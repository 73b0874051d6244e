// What the frame leaves out changes no pixel; the real game through the game driver.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <tuple>
#include <vector>

#include "player/player.h"
#include "shell/frame_pose.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/pickup_view.h"
#include "tests/support/game_driver.h"
#include "world/skybox.h"

namespace {

// The camera at eye looking along view, the sky round it, as the next frame draws them.
void lookFrom(Vec3 eye, Vec3 view) {
    std::tie(player.cameraPos, player.viewDir, sky.centreX, sky.centreZ) = std::make_tuple(eye, view, eye.x, eye.z);
    rememberStepPose();
}

std::vector<Pixel> frameOverClearColour(float red, float green, float blue) {
    glClearColor(red, green, blue, 1);
    onDisplay();
    std::vector<Pixel> picture;
    for (int at = 0; at < kDesignWidth * kDesignHeight; at += 4)
        picture.push_back(framePixel(at % kDesignWidth, at / kDesignWidth));
    return picture;
}

}  // namespace

// The sky is left out only behind the ground: no clear colour shows at the road's start
// looking ahead and back (the ground ends 30 units behind), at its end looking aside, or looking down.
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

// From the start looking ahead a mushroom is drawn near or 2000 units off, but not
// right behind the eye, off to the side, or where fog leaves under 1/255 of its colour.
TEST(Frame, PickupsOutOfViewOrLostInFogAreNotDrawn) {
    startDrivenGame();
    lookFrom({0, 17, 4970}, {0, -0.4f, -1});
    glLoadIdentity();
    applyCamera();
    const struct { Vec3 at; bool fog, shown; } cases[] = {
        {{0, 5, 4900}, false, true}, {{0, 28, 5000}, false, false}, {{150, 5, 4900}, false, false},
        {{0, 5, 3000}, false, true}, {{0, 5, 3000}, true, false}, {{0, 5, 4000}, true, true}};
    Pickup pickup;
    pickup.kind = kYellowMushroom;
    for (const auto& c : cases) {
        c.fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
        pickup.position = c.at;
        EXPECT_EQ(pickupCanShow(pickupViewNow(), pickup), c.shown) << c.at.x << ", " << c.at.z << " fog " << c.fog;
    }
    glDisable(GL_FOG);
}
