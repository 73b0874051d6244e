// The overlay on a plain GL context: the font's letters against a stored picture and the meters' colours; each level's
// start; the read-out's words.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <fstream>
#include <set>

#include "assets/camera.h"
#include "assets/fog.h"
#include "assets/render_options.h"
#include "hud/font.h"
#include "hud/hud.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/game_flow.h"
#include "tests/support/gl_context.h"
#include "world/levels.h"
#include "world/skybox.h"
#include "world/terrain.h"

// The stored picture, a binary PBM (rows top first, a bit set where lit), holds the alphabet in two lines of 13.
TEST(Font, LettersMatchTheStoredAlphabet) {
    ensureGlContext();
    buildFont();
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glWindowPos2i(5, 102), drawText("ABCDEFGHIJKLM"), glWindowPos2i(5, 89), drawText("NOPQRSTUVWXYZ");
    std::string bits(17 * 26, '\0');
    for (int row = 0; row < 26; ++row)
        for (int column = 0; column < 130; ++column)
            if (pixelAt(5 + column, 112 - row)[0] > 128) bits[row * 17 + column / 8] |= char(0x80 >> column % 8);
    std::ifstream file("tests/data/font_alphabet.pbm", std::ios::binary);
    EXPECT_EQ("P4\n130 26\n" + bits, std::string(std::istreambuf_iterator<char>(file), {}));
}

// The scene leaves a texture bound and texturing on; the victory banner comes and goes. The bars stand at 0.8 over
// their backgrounds at 0.2, over black: 204 of 255; the read-out is white.
TEST(Hud, MetersAndReadOutKeepTheirColoursAfterTheVictoryBanner) {
    ensureGlContext();
    levelNumber = 4;
    levelIntroVisible = renderOptions.fpsVisible = true;
    for (bool confirm : {false, true, false}) {
        startRequested = confirm;
        glEnable(GL_TEXTURE_2D), solidTexture(100, 50, 20), glClear(GL_COLOR_BUFFER_BIT);
        std::tie(player.health, player.boostPoints) = std::make_pair(50, 200);
        drawHud(advanceLevelFlow(88));
    }
    EXPECT_EQ(pixelAt(235 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{204, 0, 0}));
    EXPECT_EQ(pixelAt(1185 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{0, 204, 0}));
    Pixel brightest = {};
    for (int x = 0; x < 140; ++x) brightest = std::max(brightest, pixelAt(x, kGlWindowSize - 4));
    EXPECT_EQ(brightest, (Pixel{255, 255, 255}));
    levelNumber = 1;
}

// Every level start: the start pose, the sky round the camera; the level's field, meters (level 1 restores them) and
// fog; fresh pickups, on hills of 2 or more 3 above them, the others at 5. Each starts far off, turned and tipped.
TEST(LevelStart, LaysOutTheLevelCentresTheSkyAndKeepsPickupsAboveTheTerrain) {
    ensureGlContext();
    ASSERT_TRUE(loadHeightfield() == 0 && rescaleHeightfield() == 0);
    // Camera, vehicle, view, right and up, then pitch, heading and roll, and the sky's centre.
    const std::vector<float> start = {0, 17, 4970, 0, 5, 4940, 0, -0.4f, -1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 4970};
    using Meters = std::tuple<int32_t, int32_t, int32_t>;  // health, ammo, boost points
    const struct { int number, minCount, maxCount, minKind, maxKind; Meters meters; bool fog; } plans[] = {
        {1, 30, 40, 3, 4, {50, 5, 200}, false}, {2, 50, 100, 1, 4, {75, 9, 3}, true},
        {3, 200, 300, 2, 2, {75, 9, 3}, true}};
    int overHills = 0;
    for (const auto& plan : plans) {
        player.cameraPos = player.viewDir = player.rightDir = player.upDir = player.vehiclePos = {1, 2, 3};
        player.pitch = player.heading = player.roll = sky.centreX = sky.centreZ = 7;
        std::tie(player.health, player.ammo, player.boostPoints, drive.forwardSpeed) = std::make_tuple(75, 9, 3, 80.0f);
        switchFog(!plan.fog), levelNumber = plan.number, startLevel();
        std::vector<float> pose;
        for (const Vec3& v : {player.cameraPos, player.vehiclePos, player.viewDir, player.rightDir, player.upDir})
            pose.insert(pose.end(), {v.x, v.y, v.z});
        pose.insert(pose.end(), {player.pitch, player.heading, player.roll, sky.centreX, sky.centreZ});
        EXPECT_TRUE(pose == start && Meters(player.health, player.ammo, player.boostPoints) == plan.meters &&
                    drive.forwardSpeed == 0 && bool(glIsEnabled(GL_FOG)) == plan.fog) << "level " << plan.number;
        ASSERT_TRUE(level.pickupCount >= plan.minCount && level.pickupCount <= plan.maxCount);
        std::set<int> kinds;
        for (const Pickup* p = level.pickups; p < level.pickups + level.pickupCount; ++p) {
            float height = 0;
            const bool overHill = terrainHeightAt(p->position.x, p->position.z, &height) && height >= 2;
            overHills += overHill;
            EXPECT_TRUE(std::abs(p->position.x) <= 105 && std::abs(p->position.z) <= 4999 && p->radius == 15 &&
                        !p->collected && p->position.y == (overHill ? height + 3 : 5))
                << "level " << plan.number << ", pickup " << p - level.pickups;
            kinds.insert(p->kind);
        }
        EXPECT_TRUE(*kinds.begin() == plan.minKind && *kinds.rbegin() == plan.maxKind) << "level " << plan.number;
    }
    EXPECT_GT(overHills, 0);
    levelNumber = 1;
}

TEST(FrameRateText, SpellsTheRateInCapitalWords) {
    for (auto [rate, text] : {std::pair{62, "FPS: SIXTYTWO"}, {60, "FPS: SIXTY"}, {7, "FPS: SEVEN"}, {100, "FPS: "},
             {123, "FPS: THREE"}, {45, "FPS: FOURTYFIVE"}, {10, "FPS: TEN"}, {19, "FPS: NINETEEN"}, {-3, "FPS: "}})
        EXPECT_EQ(frameRateText(rate), text) << rate;
}
