#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>
#include <vector>

#include "assets/tga_reader.h"
#include "player/player.h"
#include "shell/frame_update.h"
#include "tests/support/game_harness.h"
#include "tests/support/gl_context.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

const int windowSize = 256, half = windowSize / 2;

unsigned int solidTexture(unsigned int rgb) {
    const uint8_t texel[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    return name;
}

void setProjection(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
}

// World positions (x, y, z) of every vertex the list sends, read back through feedback.
std::vector<float> listVertices(unsigned int list) {
    setProjection(windowSize, windowSize);
    glOrtho(-half, half, -half, half, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<float> buffer(10000), vertices;
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const int used = glRenderMode(GL_RENDER);
    for (int i = 0; i < used;) {
        if (int(buffer[i++]) != GL_POLYGON_TOKEN) continue;
        for (int v = int(buffer[i++]); v > 0; --v, i += 3)
            vertices.insert(vertices.end(), {buffer[i] - half, buffer[i + 1] - half, (0.5f - buffer[i + 2]) * 2000});
    }
    return vertices;
}

bool listSetsColourMaterial() {
    glDisable(GL_COLOR_MATERIAL);
    glCallList(buildTerrainList());
    return glIsEnabled(GL_COLOR_MATERIAL);
}

}  // namespace

TEST(TerrainList, SendsEverySampleAtItsWorldPlaceAndColoursOnlyFrom32Bits) {
    ensureGlContext();
    const std::vector<uint8_t> grey = {0, 64, 128, 192, 255, 32, 16, 8, 4};
    TgaImage pictures[] = {{0, 3, 8, 3, 3, grey}, {0, 2, 32, 2, 2, std::vector<uint8_t>(16, 9)}, {0, 3, 8, 4, 1, {1, 2, 3, 4}}};
    ASSERT_EQ(buildHeightfield(pictures[0], "grid.tga"), 0);
    std::set<int> samplesSent;
    const std::vector<float> sent = listVertices(buildTerrainList());
    for (size_t i = 0; i < sent.size(); i += 3) {
        const int column = int(std::lround(sent[i] + 1.5f)), row = int(std::lround(101.5f - sent[i + 2]));
        ASSERT_TRUE(column >= 0 && column < 3 && row >= 0 && row < 3);
        EXPECT_NEAR(sent[i + 1], grey[row * 3 + column] / 256.0f + 2.9f, 0.01f);
        samplesSent.insert(row * 3 + column);
    }
    EXPECT_EQ(samplesSent.size(), 9u);
    EXPECT_FALSE(listSetsColourMaterial());
    ASSERT_EQ(buildHeightfield(pictures[1], "coloured.tga"), 0);
    EXPECT_TRUE(listSetsColourMaterial());
    ASSERT_EQ(buildHeightfield(pictures[2], "row.tga"), 0);
    EXPECT_TRUE(listVertices(buildTerrainList()).empty());
}

TEST(Skybox, EachFaceFillsItsDirectionWhereverTheCubeStands) {
    ensureGlContext();
    sky = {solidTexture(0xff0000), solidTexture(0x00ff00), solidTexture(0x0000ff),
           solidTexture(0xffff00), solidTexture(0x00ffff), solidTexture(0xff00ff), 0, 0};
    setProjection(windowSize, windowSize);
    gluPerspective(90, 1, 0.5, 400000);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_FOG);
    // Moved 15000 along -x, the camera sees the cube's +x face from outside.
    const struct {
        float dx, dy, dz, centreX;
        unsigned int colour;
    } views[] = {{-1, 0, 0, 0, 0xff0000}, {1, 0, 0, 0, 0x00ff00}, {0, -1, 0, 0, 0x0000ff}, {0, 1, 0, 0, 0xffff00},
                 {0, 0, -1, 0, 0x00ffff}, {0, 0, 1, 0, 0xff00ff}, {-1, 0, 0, -15000, 0x00ff00}};
    for (const auto& view : views) {
        sky.centreX = view.centreX;
        glLoadIdentity();
        gluLookAt(0, 0, 0, view.dx, view.dy, view.dz, 0, view.dy ? 0 : 1, view.dy ? 1 : 0);
        glEnable(GL_DEPTH_TEST);
        glClearDepth(0.25);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        drawSkybox();
        uint8_t pixel[3] = {};
        float depth = 0;
        glReadBuffer(GL_BACK);
        glReadPixels(half, half, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        glReadPixels(half, half, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ(unsigned(pixel[0] << 16 | pixel[1] << 8 | pixel[2]), view.colour) << view.dx << view.dy << view.dz;
        EXPECT_EQ(depth, 1.0f);
    }
    sky.centreX = 0;
    for (GLenum capability : {GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND, GL_TEXTURE_2D})
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}

TEST(LevelStart, EachLevelLaysOutItsPickupsSetsItsMetersAndFogAndKeepsItsGround) {
    ensureGlContext();
    const struct {
        int number, minCount, maxCount, minKind, maxKind;
        bool restoresMeters, fog;
    } plans[] = {{1, 30, 40, 3, 4, true, false}, {2, 50, 100, 1, 4, false, true}, {3, 200, 300, 2, 2, false, true}};
    unsigned int grounds[4] = {};
    for (int round = 0; round < 3; ++round) {
        for (const auto& plan : plans) {
            SCOPED_TRACE(testing::Message() << "level " << plan.number);
            std::tie(player.health, player.ammo, drive.forwardSpeed) = std::make_tuple(75, 9, 80.0f);
            plan.fog ? glDisable(GL_FOG) : glEnable(GL_FOG);
            levelNumber = plan.number;
            startLevel();
            EXPECT_EQ(bool(glIsEnabled(GL_FOG)), plan.fog);
            EXPECT_EQ(std::make_tuple(player.health, player.ammo, drive.forwardSpeed),
                      plan.restoresMeters ? std::make_tuple(50, 5, 0.0f) : std::make_tuple(75, 9, 0.0f));
            ASSERT_TRUE(level.pickupCount >= plan.minCount && level.pickupCount <= plan.maxCount);
            std::set<int> kinds;
            for (int i = 0; i < level.pickupCount; ++i) kinds.insert(level.pickups[i].kind);
            EXPECT_TRUE(*kinds.begin() == plan.minKind && *kinds.rbegin() == plan.maxKind);
            if (round == 0) grounds[plan.number] = level.groundTexture;
            EXPECT_EQ(level.groundTexture, grounds[plan.number]);
        }
    }
    EXPECT_TRUE(grounds[1] != grounds[2] && grounds[2] != grounds[3]);
    levelNumber = 1;
}

TEST(Scene, SetUpGivesFogFourColourPartsAndLiftsLevelOnePickupsOntoTheTerrain) {
    ensureGlContext();
    ASSERT_EQ(loadHeightfield(), 0);
    ASSERT_EQ(rescaleHeightfield(), 0);
    glDisable(GL_FOG);
    initScene();
    float fog[4] = {};
    glGetFloatv(GL_FOG_COLOR, fog);
    EXPECT_TRUE(std::fabs(fog[0] - 0.9f) < 1e-6f && std::fabs(fog[2] - 0.5f) < 1e-6f && fog[3] == 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(player.skybox, &sky);
    for (int i = 0; i < level.pickupCount; ++i) {
        const Pickup& pickup = level.pickups[i];
        float height = 0;
        const bool hill = terrainHeightAt(pickup.position.x, pickup.position.z, &height) && height >= 2.0f;
        EXPECT_EQ(pickup.position.y, hill ? height + 3.0f : 5.0f);
    }
    ObjModel* const building = buildingModel;
    loadSceneryModels();
    EXPECT_EQ(buildingModel, building);
    sceneryWheelModel = nullptr;
    drawSceneryWheel();
    EXPECT_NE(sceneryWheelModel, nullptr);
}

namespace {

// Regions (x, y, w, h) of the 1420 x 800 start-up view, which looks down the
// road tilted 22 degrees down: the horizon lies about 14 rows below the top.
struct Region {
    int x, y, w, h;
};
const Region skyStrip = {0, 0, 1420, 10}, vehicle = {600, 290, 220, 350};
const Region roadAtHorizon = {690, 18, 40, 12}, fieldsAtHorizon = {100, 18, 200, 12};
const Region roadAhead = {300, 40, 820, 240};
const Region terrainLump = {684, 14, 52, 4};  // the terrain patch, 4750 units ahead on the road

Rgb mean(const Screenshot& shot, const Region& r) { return shot.regionMean(r.x, r.y, r.w, r.h); }

// The sky keeps its blue; the ground, lit by the yellow light, loses it.
bool looksLikeSky(Rgb colour) { return colour.b > 60 && colour.b > 0.6 * colour.r; }

double regionDifference(const Screenshot& a, const Screenshot& b, const Region& r) {
    double total = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (size_t i = 3 * size_t(y * a.width + r.x); i < 3 * size_t(y * a.width + r.x + r.w); ++i)
            total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    }
    return total / (3.0 * r.w * r.h);
}

// The first view of the road. The banner must show first (until then the screen
// may still hold a just-killed game's window); Home is pressed until it goes,
// since a press before the window has focus is lost.
Screenshot startUpView(GameRun& game) {
    if (!game.waitForWindow() || !game.waitForOutput("Linking shaders")) return {};
    Screenshot shot = takeScreenshot();
    for (int i = 0; i < 20 && shot.width && looksLikeSky(mean(shot, skyStrip)); ++i) {
        waitSeconds(0.25);
        shot = takeScreenshot();
    }
    for (int i = 0; i < 20 && shot.width; ++i) {
        game.key("Home");
        waitSeconds(1.0);
        shot = takeScreenshot();
        if (looksLikeSky(mean(shot, skyStrip))) return shot;
    }
    ADD_FAILURE() << "the level 1 banner did not give way to the road";
    return {};
}

// A 256 x 256 magenta hill, 32 bits, so the terrain brings its own colour
// instead of the road-coloured texel the sky box leaves bound.
void writeColouredHeightmap(const std::string& directory) {
    const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 0};
    std::vector<uint8_t> file(header, header + sizeof header);
    for (int row = 0; row < 256; ++row) {
        for (int column = 0; column < 256; ++column)
            file.insert(file.end(), {255, 0, 255, uint8_t(255 * (1 - std::hypot(row - 128, column - 128) / 192))});
    }
    FILE* out = std::fopen((directory + "/resources/vorlane.tga").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

}  // namespace

TEST(OnScreen, StartUpShowsSkyRoadVehicleAndTerrainAndTheSkyTravelsWithTheCamera) {
    Screenshot shot;
    {
        GameRun game;
        shot = startUpView(game);
        ASSERT_EQ(shot.width, 1420);
        const Rgb body = mean(shot, vehicle);
        // The ground picture, not a plain colour: dark asphalt between bright fields.
        EXPECT_LT(mean(shot, roadAtHorizon).g, 0.75 * mean(shot, fieldsAtHorizon).g);
        EXPECT_GT(body.r - body.g, 30) << "no red vehicle in the lower middle";

        // One run draws a still view identically; a sky left behind would show its walls coming closer.
        game.keyDown("w");
        waitSeconds(4.0);
        game.keyUp("w");
        const Screenshot moved = takeScreenshot();
        ASSERT_EQ(moved.width, 1420);
        EXPECT_LT(regionDifference(shot, moved, skyStrip), 0.5);
        EXPECT_GT(regionDifference(shot, moved, roadAhead), 1.0);
    }
    // A magenta terrain changes the lump on the horizon, not the ground nearer
    // by. Two runs never draw quite alike (a few levels per pixel).
    const std::string colouredDirectory = makeGameDirectory();
    writeColouredHeightmap(colouredDirectory);
    GameRun colouredGame({}, colouredDirectory);
    const Screenshot coloured = startUpView(colouredGame);
    ASSERT_EQ(coloured.width, 1420);
    EXPECT_GT(regionDifference(shot, coloured, terrainLump), 8);
    EXPECT_LT(regionDifference(shot, coloured, roadAhead), 5);
}
