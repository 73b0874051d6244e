// What play looks like, read back from the real game's frames through the game driver: each pickup by its look, the
// road's edges where the game ends, one icon a charge, the car's body, the car part way between steps, the window's
// shape, the frame rate on F2; and what the frame leaves out changes no pixel.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "assets/camera.h"
#include "assets/fog.h"
#include "assets/obj_model.h"
#include "assets/shader_program.h"
#include "assets/view_volume.h"
#include "player/player.h"
#include "shell/frame_pose.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"
#include "world/pickups.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

// The camera at eye looking along view, the sky round it, as the next frame draws them; the camera applied.
void lookFrom(Vec3 eye, Vec3 view) {
    std::tie(player.cameraPos, player.viewDir, sky.centreX, sky.centreZ) = std::make_tuple(eye, view, eye.x, eye.z);
    rememberStepPose();
    glLoadIdentity();
    applyCamera(player.cameraPos, player.viewDir, player.upDir, player.cameraPulledBack);
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

// A frame in play from the given pose, drawn without a step of game time.
std::vector<Pixel> playFrameFrom(Vec3 eye, Vec3 view) {
    levelIntroVisible = false;
    lookFrom(eye, view);
    playPass(0);
    return picture();
}

// The level's pickups are these alone while the object lives.
struct OnlyPickups {
    explicit OnlyPickups(std::vector<Pickup> laid)
        : field(std::move(laid)), count(level.pickupCount), saved(level.pickups) {
        level.pickups = field.data(), level.pickupCount = int32_t(field.size());
    }
    ~OnlyPickups() { level.pickups = saved, level.pickupCount = count; }
    std::vector<Pickup> field;
    int32_t count;
    Pickup* saved;
};

Pickup pickupAt(int kind, Vec3 position) {
    Pickup pickup;
    pickup.kind = kind, pickup.position = position, pickup.radius = 15;
    return pickup;
}

// The mean colour of the pixels where two pictures differ, with how many there are.
std::pair<std::array<double, 3>, int> meanOfDifference(const std::vector<Pixel>& with,
                                                       const std::vector<Pixel>& without) {
    std::array<double, 3> sum = {};
    int count = 0;
    for (size_t i = 0; i < with.size(); ++i) {
        if (with[i] == without[i]) continue;
        for (int c = 0; c < 3; ++c) sum[c] += with[i][c];
        ++count;
    }
    for (double& channel : sum) channel /= std::max(count, 1);
    return {sum, count};
}

const Vec3 kStartEye = {0, 17, 4970}, kDownTheRoad = {0, -0.4f, -1};

}  // namespace

// 50 units ahead of the start, under the scene's red and yellow lights, each kind shows its own colours: the yellow
// mushroom's cap has more green for its red than the red one's, the bottle (pale glass, a red label) is far brighter
// than the rifle (wood and dark steel).
TEST(Frame, EachPickupShowsItsOwnLook) {
    startDrivenGame();
    const std::vector<Pixel> empty = [] { OnlyPickups none({}); return playFrameFrom(kStartEye, kDownTheRoad); }();
    std::array<double, 3> look[5];
    for (int kind : {kRedMushroom, kYellowMushroom, kRifle, kBottle}) {
        OnlyPickups one({pickupAt(kind, {0, 5, 4920})});
        const auto [colour, pixels] = meanOfDifference(playFrameFrom(kStartEye, kDownTheRoad), empty);
        EXPECT_GT(pixels, 30) << "kind " << kind << " drawn";
        look[kind] = colour;
    }
    auto greenForRed = [&](int kind) { return look[kind][1] / look[kind][0]; };
    auto brightness = [&](int kind) { return look[kind][0] + look[kind][1] + look[kind][2]; };
    EXPECT_GT(greenForRed(kYellowMushroom) - greenForRed(kRedMushroom), 0.1) << "the yellow cap";
    EXPECT_GT(brightness(kBottle) - brightness(kRifle), 100) << "the pale bottle";
}

// From a camera on either edge of the road, looking down it, the asphalt ends at the screen's middle: dark on the
// road's side, the lighter shoulder beyond, a car's width ahead and out to the horizon.
TEST(Frame, TheRoadsEdgesLieWhereTheGameEnds) {
    startDrivenGame();
    OnlyPickups none({});
    for (float side : {-1.0f, 1.0f}) {
        playFrameFrom({250 * side, 17, 2000}, kDownTheRoad);
        for (int y : {100, 140, 180}) {
            auto brightness = [&](int x) { Pixel p = framePixel(x, y); return p[0] + p[1] + p[2]; };
            const int road = brightness(kDesignWidth / 2 - 24 * int(side));
            const int shoulder = brightness(kDesignWidth / 2 + 24 * int(side));
            EXPECT_GT(shoulder - road, 100) << "side " << side << ", row " << y << ": " << road << " " << shoulder;
        }
    }
}

// One icon for each charge, along the bottom from the left, and none where there is no charge.
TEST(Frame, OneIconForEachCharge) {
    startDrivenGame();
    OnlyPickups none({});
    auto slots = [] {  // three spots down the middle of each of the ten places an icon may take
        std::vector<Pixel> spots;
        for (int slot = 0; slot < 10; ++slot)
            for (int y : {760, 775, 790}) spots.push_back(framePixel(585 + 60 * slot, y));
        return spots;
    };
    player.ammo = 0;
    playFrameFrom(kStartEye, kDownTheRoad);
    const std::vector<Pixel> bare = slots();
    for (int32_t charges = 0; charges <= 5; ++charges) {
        player.ammo = charges;
        playFrameFrom(kStartEye, kDownTheRoad);
        const std::vector<Pixel> shown = slots();
        std::string icons;
        for (int slot = 0; slot < 10; ++slot)
            icons += std::equal(&shown[slot * 3], &shown[slot * 3 + 3], &bare[slot * 3]) ? '.' : 'I';
        EXPECT_EQ(icons, std::string(charges, 'I') + std::string(10 - charges, '.'));
    }
    player.ammo = 5;
}

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
        switchFog(c.fog);
        const bool shown = ballCanShow(viewVolumeNow(), c.at, pickupDrawnRadius(kYellowMushroom));
        EXPECT_EQ(shown, c.shown) << c.at.x << ", " << c.at.z << " fog " << c.fog;
    }
    switchFog(false);
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
        if (coarse) drawTerrain(viewVolumeNow());
        for (const TerrainTile& tile : terrainTiles) coarse ? void() : glCallList(tile.lists[0]);
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

// The terrain's program lights and tints the terrain as the fixed-function pipeline would, clear or in fog: from over
// the hills, where the terrain fills most of the frame, no pixel moves by more than a grey level.
TEST(Frame, TheTerrainsProgramLightsItAsTheFixedFunctionPipelineDoes) {
    startDrivenGame();
    const unsigned int program = terrainProgram;
    ASSERT_NE(program, 0u);
    for (bool fog : {false, true}) {
        switchFog(fog);
        std::vector<Pixel> pictures[2];
        for (bool programmed : {false, true}) {
            terrainProgram = programmed ? program : 0;
            pictures[programmed] = playFrameFrom({0, 17, 150}, {0, -0.4f, -1});
        }
        terrainProgram = program;
        int differing = 0, farthest = 0;
        for (size_t i = 0; i < pictures[0].size(); ++i) {
            for (int k = 0; k < 3; ++k) farthest = std::max(farthest, std::abs(pictures[0][i][k] - pictures[1][i][k]));
            differing += pictures[0][i] != pictures[1][i];
        }
        EXPECT_LE(farthest, 1) << "fog " << fog;
        EXPECT_LE(differing, int(pictures[0].size()) / 1000) << "fog " << fog;
    }
    switchFog(false);
}

// A mushroom draws only its front faces, but from inside it, where the eye sees nothing else, all of them.
TEST(Frame, AMushroomRoundTheEyeStillShows) {
    startDrivenGame();
    const Vec3 eye = {0, 17, 4970};
    std::vector<Pixel> pictures[2];
    for (bool mushroom : {false, true}) {
        OnlyPickups only(mushroom ? std::vector<Pickup>{pickupAt(kRedMushroom, eye)} : std::vector<Pickup>{});
        pictures[mushroom] = playFrameFrom(eye, {0, -0.4f, -1});
    }
    int differing = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) differing += pictures[0][i] != pictures[1][i];
    EXPECT_GT(differing, int(pictures[0].size()) / 4);
}

// A frame between two steps shows the car part of the way from the one to the next: each frame of a fast machine moves.
TEST(Frame, FramesBetweenTwoStepsShowTheCarPartWay) {
    startDrivenGame();
    levelIntroVisible = false;
    lookFrom({0, 17, 4000}, {0, -0.4f, -1});
    player.cameraPos.z -= 3, sky.centreZ -= 3;
    const uint32_t unstepped = unsteppedMs;
    const uint32_t intoTheStep[] = {0, 8, 15};  // ms of the next step's 16 gone by
    std::vector<Pixel> pictures[3];
    for (int i = 0; i < 3; ++i) {
        unsteppedMs = intoTheStep[i];
        playPass(0);
        pictures[i] = picture();
    }
    unsteppedMs = unstepped;
    EXPECT_TRUE(pictures[0] != pictures[1] && pictures[1] != pictures[2]);
}

// A window of another shape shows the world in that shape: in a square one, undistorted.
TEST(Frame, TheViewTakesTheWindowsShape) {
    startDrivenGame();
    resizeGameWindow(kDesignHeight / 4, kDesignHeight / 4);
    playPass(0);
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    resizeGameWindow(kDesignWidth / 4, kDesignHeight / 4);
    EXPECT_NEAR(m[5] / m[0], 1, 0.01) << "width to height";
}

// The car's body shows ahead of the eye, in the lower middle of the picture.
TEST(Frame, TheCarsBodyShowsAheadOfTheEye) {
    startDrivenGame();
    OnlyPickups none({});
    ObjModel* const body = player.bodyModel;
    ObjModel nothing{};
    player.bodyModel = &nothing;
    const std::vector<Pixel> withoutBody = playFrameFrom(kStartEye, kDownTheRoad);
    player.bodyModel = body;
    const std::vector<Pixel> withBody = playFrameFrom(kStartEye, kDownTheRoad);
    int lowerMiddle = 0, elsewhere = 0;
    for (size_t i = 0; i < withBody.size(); ++i) {
        const int x = int(i * 4 % kDesignWidth), y = int(i * 4 / kDesignWidth);
        const bool middle = x > kDesignWidth / 4 && x < kDesignWidth * 3 / 4 && y > kDesignHeight / 2;
        (middle ? lowerMiddle : elsewhere) += withBody[i] != withoutBody[i];
    }
    EXPECT_TRUE(lowerMiddle > 2000 && elsewhere < lowerMiddle / 20) << lowerMiddle << " " << elsewhere;
}

// The frame-rate read-out shows at the top left once F2 asks for it, and not before.
TEST(Frame, TheFrameRateShowsOnlyAfterF2) {
    startDrivenGame();
    playFrames(30, 50);  // a second of frames, for a rate to show
    std::vector<Pixel> corner[2];
    for (bool shown : {false, true}) {
        playFrameFrom(kStartEye, kDownTheRoad);
        for (int x = 0; x < 400; x += 4)
            for (int y = 0; y < 40; y += 4) corner[shown].push_back(framePixel(x, y));
        tapSpecialKey(GLUT_KEY_F2);
    }
    EXPECT_NE(corner[0], corner[1]);
}
