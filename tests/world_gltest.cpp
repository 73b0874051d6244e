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

const int windowSize = 256;

using Point = std::tuple<float, float, float>;

TgaImage image(int width, int height, int bitsPerPixel, std::vector<uint8_t> data) {
    TgaImage result;
    result.status = 0;
    result.imageType = bitsPerPixel == 8 ? 3 : 2;
    result.bitsPerPixel = uint8_t(bitsPerPixel);
    result.width = int16_t(width);
    result.height = int16_t(height);
    result.data = std::move(data);
    return result;
}

unsigned int solidTexture(uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t texel[3] = {r, g, b};
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    return name;
}

std::tuple<int, int, int> centrePixel() {
    uint8_t pixel[3] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(windowSize / 2, windowSize / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

// World positions of every vertex the list sends, read back through feedback
// under an orthographic view that maps world x and y one to one onto the window.
std::vector<Point> listVertices(unsigned int list) {
    glViewport(0, 0, windowSize, windowSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-windowSize / 2, windowSize / 2, -windowSize / 2, windowSize / 2, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::vector<float> buffer(100000);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const int used = glRenderMode(GL_RENDER);
    std::vector<Point> vertices;
    for (int i = 0; i < used;) {
        const int token = int(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) continue;
        const int count = int(buffer[i++]);
        for (int v = 0; v < count; ++v, i += 3) {
            const float x = buffer[i] - windowSize / 2, y = buffer[i + 1] - windowSize / 2;
            const float z = (0.5f - buffer[i + 2]) * 2000;
            vertices.emplace_back(x, y, z);
        }
    }
    return vertices;
}

// A quad right in front of the camera that leaves depth well below 1 everywhere.
void drawNearQuad() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -0.5f);
    glVertex3f(1, -1, -0.5f);
    glVertex3f(1, 1, -0.5f);
    glVertex3f(-1, 1, -0.5f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void expectPlacedOnTheRoad(const Pickup& pickup) {
    EXPECT_EQ(pickup.position.y, 3.0f);
    EXPECT_TRUE(pickup.position.x >= -105 && pickup.position.x <= 105) << pickup.position.x;
    EXPECT_TRUE(pickup.position.z >= -4999 && pickup.position.z <= 4999) << pickup.position.z;
    EXPECT_EQ(pickup.radius, 15);
    EXPECT_FALSE(pickup.collected);
}

}  // namespace

TEST(TerrainList, SendsEverySampleAtItsWorldPlace) {
    ensureGlContext();
    const std::vector<uint8_t> grey = {0, 64, 128, 192, 255, 32, 16, 8, 4};
    ASSERT_EQ(buildHeightfield(*std::make_unique<TgaImage>(image(3, 3, 8, grey)), "grid.tga"), 0);
    std::set<int> samplesSent;
    for (const Point& vertex : listVertices(buildTerrainList())) {
        const int column = int(std::lround(std::get<0>(vertex) + 1.5f));
        const int row = int(std::lround(101.5f - std::get<2>(vertex)));
        ASSERT_TRUE(column >= 0 && column < 3 && row >= 0 && row < 3);
        EXPECT_NEAR(std::get<1>(vertex), grey[row * 3 + column] / 256.0f + 2.9f, 0.01f);
        samplesSent.insert(row * 3 + column);
    }
    EXPECT_EQ(samplesSent.size(), 9u);

    glDisable(GL_COLOR_MATERIAL);
    glCallList(buildTerrainList());
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));

    ASSERT_EQ(buildHeightfield(*std::make_unique<TgaImage>(image(2, 2, 32, std::vector<uint8_t>(16, 9))), "c.tga"), 0);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT);
    glCallList(buildTerrainList());
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint face = 0, parameter = 0;
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &parameter);
    EXPECT_EQ(face, GL_FRONT);
    EXPECT_EQ(parameter, GL_DIFFUSE);

    ASSERT_EQ(buildHeightfield(*std::make_unique<TgaImage>(image(4, 1, 8, {1, 2, 3, 4})), "row.tga"), 0);
    EXPECT_TRUE(listVertices(buildTerrainList()).empty());
}

TEST(Skybox, EachFaceFillsItsDirectionAndTheSkyWritesNoDepth) {
    ensureGlContext();
    sky.faceXN = solidTexture(255, 0, 0);
    sky.faceXP = solidTexture(0, 255, 0);
    sky.faceYN = solidTexture(0, 0, 255);
    sky.faceYP = solidTexture(255, 255, 0);
    sky.faceZN = solidTexture(0, 255, 255);
    sky.faceZP = solidTexture(255, 0, 255);
    glViewport(0, 0, windowSize, windowSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90, 1, 0.5, 400000);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_FOG);
    struct View {
        float dx, dy, dz, upZ;
        float centreX, centreZ;
        std::tuple<int, int, int> colour;
    };
    const View views[] = {
        {-1, 0, 0, 0, 0, 0, {255, 0, 0}},      {1, 0, 0, 0, 0, 0, {0, 255, 0}},
        {0, -1, 0, 1, 0, 0, {0, 0, 255}},      {0, 1, 0, 1, 0, 0, {255, 255, 0}},
        {0, 0, -1, 0, 0, 0, {0, 255, 255}},    {0, 0, 1, 0, 0, 0, {255, 0, 255}},
        // The cube follows its centre: moved 15000 along -x, the camera looks at its +x face from outside.
        {-1, 0, 0, 0, -15000, 0, {0, 255, 0}}, {0, 0, 1, 0, 0, 9000, {255, 0, 255}},
    };
    for (const View& view : views) {
        sky.centreX = view.centreX;
        sky.centreZ = view.centreZ;
        glLoadIdentity();
        gluLookAt(0, 0, 0, view.dx, view.dy, view.dz, 0, view.upZ ? 0 : 1, view.upZ);
        drawNearQuad();
        drawSkybox();
        EXPECT_EQ(centrePixel(), view.colour) << view.dx << " " << view.dy << " " << view.dz;
        float depth = 0;
        glReadPixels(windowSize / 2, windowSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ(depth, 1.0f);
    }
    sky.centreX = sky.centreZ = 0;

    for (GLenum capability : {GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND, GL_TEXTURE_2D}) {
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    }
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(unsigned(bound), sky.faceZP);
    float colour[4], texcoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texcoord);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    EXPECT_EQ(texcoord[0], 1.0f);
    EXPECT_EQ(texcoord[1], 0.0f);
    for (unsigned int face : {sky.faceXN, sky.faceXP, sky.faceYN, sky.faceYP, sky.faceZN, sky.faceZP}) {
        GLint wrapS = 0, wrapT = 0;
        glBindTexture(GL_TEXTURE_2D, face);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE);
        EXPECT_EQ(wrapT, GL_CLAMP_TO_EDGE);
    }
}

TEST(LevelStart, EachLevelLaysOutItsPickupsSetsItsMetersAndFog) {
    ensureGlContext();
    struct Plan {
        int number, minCount, maxCount, minKind, maxKind;
        bool restoresMeters, fog;
    };
    const Plan plans[] = {{1, 30, 40, 3, 4, true, false}, {2, 50, 100, 1, 4, false, true},
                          {3, 200, 300, 2, 2, false, true}};
    for (int round = 0; round < 4; ++round) {
        for (const Plan& plan : plans) {
            player.health = 75;
            player.boostPoints = 120;
            player.ammo = 9;
            player.cameraPos = {-240, 17, -1000};
            drive.forwardSpeed = 80;
            glEnable(GL_FOG);
            if (plan.fog) glDisable(GL_FOG);
            levelNumber = plan.number;
            startLevel();
            EXPECT_EQ(bool(glIsEnabled(GL_FOG)), plan.fog) << "level " << plan.number;
            EXPECT_EQ(player.health, plan.restoresMeters ? 50 : 75);
            EXPECT_EQ(player.boostPoints, plan.restoresMeters ? 200 : 120);
            EXPECT_EQ(player.ammo, plan.restoresMeters ? 5 : 9);
            EXPECT_EQ(player.cameraPos.z, 4970);
            EXPECT_EQ(drive.forwardSpeed, 0);
            ASSERT_GE(level.pickupCount, plan.minCount);
            ASSERT_LE(level.pickupCount, plan.maxCount);
            std::set<int> kinds;
            for (int i = 0; i < level.pickupCount; ++i) {
                kinds.insert(level.pickups[i].kind);
                expectPlacedOnTheRoad(level.pickups[i]);
            }
            EXPECT_EQ(*kinds.begin(), plan.minKind) << "level " << plan.number;
            EXPECT_EQ(*kinds.rbegin(), plan.maxKind) << "level " << plan.number;
        }
    }
    levelNumber = 1;
}

TEST(LevelStart, EachGroundTextureIsMadeOnceAndKept) {
    ensureGlContext();
    unsigned int firstNames[4] = {};
    for (int round = 0; round < 3; ++round) {
        for (int number = 1; number <= 3; ++number) {
            levelNumber = number;
            startLevel();
            if (round == 0) firstNames[number] = level.groundTexture;
            EXPECT_EQ(level.groundTexture, firstNames[number]) << "level " << number;
            EXPECT_TRUE(glIsTexture(level.groundTexture));
        }
    }
    EXPECT_NE(firstNames[1], firstNames[2]);
    EXPECT_NE(firstNames[2], firstNames[3]);
    level.setUpLevel(40, 30, 1);
    EXPECT_EQ(level.groundTexture, firstNames[1]);
    levelNumber = 4;
    startLevel();
    EXPECT_EQ(level.groundTexture, firstNames[1]);
    levelNumber = 1;
}

TEST(Scene, SetUpFixesFogAndLightsAndLiftsLevelOnePickupsOntoTheTerrain) {
    ensureGlContext();
    ASSERT_EQ(loadHeightfield(), 0);
    ASSERT_EQ(rescaleHeightfield(), 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_FOG);
    initScene();

    float fog[4] = {}, density = 0;
    GLint fogMode = 0;
    glGetFloatv(GL_FOG_COLOR, fog);
    glGetFloatv(GL_FOG_DENSITY, &density);
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_FLOAT_EQ(fog[0], 0.9f);
    EXPECT_FLOAT_EQ(fog[1], 0.7f);
    EXPECT_FLOAT_EQ(fog[2], 0.5f);
    EXPECT_FLOAT_EQ(fog[3], 1.0f);
    EXPECT_FLOAT_EQ(density, 0.004f);
    EXPECT_EQ(fogMode, GL_EXP);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    for (GLenum capability : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_NORMALIZE, GL_COLOR_MATERIAL}) {
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    }
    float red[4] = {}, ahead[4] = {}, yellow[4] = {}, behind[4] = {};
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, red);
    glGetLightfv(GL_LIGHT0, GL_POSITION, ahead);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, yellow);
    glGetLightfv(GL_LIGHT1, GL_POSITION, behind);
    EXPECT_EQ(red[0] + red[1] + red[2], 1.0f);
    EXPECT_EQ(yellow[0] + yellow[1] + yellow[2], 2.0f);
    EXPECT_EQ(ahead[0] + ahead[1] + ahead[2], -3 * 9999.0f);
    EXPECT_EQ(behind[0] + behind[1] + behind[2], 3 * 9999.0f);

    EXPECT_TRUE(glIsList(terrainList));
    EXPECT_EQ(player.skybox, &sky);
    EXPECT_TRUE(glIsTexture(sky.faceYP) && glIsTexture(sky.faceZP));
    ASSERT_GE(level.pickupCount, 30);
    ASSERT_LE(level.pickupCount, 40);
    int onHills = 0;
    for (int i = 0; i < level.pickupCount; ++i) {
        const Pickup& pickup = level.pickups[i];
        float height = 0;
        const bool hill = terrainHeightAt(pickup.position.x, pickup.position.z, &height) && height >= 2.0f;
        EXPECT_EQ(pickup.position.y, hill ? height + 3.0f : 5.0f);
        onHills += hill;
    }
    // The patch covers only z -28..228 of the 10000-unit road.
    EXPECT_LT(onHills, level.pickupCount);

    ObjModel* const building = buildingModel;
    ObjModel* const wheel = sceneryWheelModel;
    ASSERT_TRUE(building && wheel);
    loadSceneryModels();
    EXPECT_EQ(buildingModel, building);
    EXPECT_EQ(sceneryWheelModel, wheel);
    sceneryWheelModel = nullptr;
    drawSceneryWheel();
    EXPECT_NE(sceneryWheelModel, nullptr);
}

namespace {

// Screen regions of the 1420 x 800 start-up view, which looks down the road
// tilted 22 degrees down: the horizon lies about 14 rows below the top.
struct Region {
    int x, y, w, h;
};
const Region skyStrip = {0, 0, 1420, 10};
const Region groundLeft = {20, 120, 160, 180};
const Region groundRight = {1240, 120, 160, 180};
const Region roadAtHorizon = {690, 18, 40, 12};
const Region fieldsAtHorizon = {100, 18, 200, 12};
const Region vehicle = {600, 290, 220, 350};
// Between the meters and above the vehicle: the road's painted dashes.
const Region roadAhead = {300, 40, 820, 240};
// The terrain patch, 4750 units ahead on the road, is a low lump at the horizon's middle.
const Region terrainLump = {684, 14, 52, 4};
const Region nearGround = {0, 40, 1420, 240};

Rgb mean(const Screenshot& shot, const Region& region) {
    return shot.regionMean(region.x, region.y, region.w, region.h);
}

// The sky picture keeps its blue; everything lit on the ground takes the
// yellow light and loses it.
bool looksLikeSky(Rgb colour) { return colour.b > 60 && colour.b > 0.6 * colour.r; }
bool looksLikeLitGround(Rgb colour) { return colour.g > 30 && colour.b < 0.4 * colour.g; }

double regionDifference(const Screenshot& a, const Screenshot& b, const Region& region) {
    double total = 0;
    for (int y = region.y; y < region.y + region.h; ++y) {
        for (int x = region.x; x < region.x + region.w; ++x) {
            const Rgb p = a.at(x, y), q = b.at(x, y);
            total += std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b);
        }
    }
    return total / (3.0 * region.w * region.h);
}

// Starts the game, confirms the level 1 banner and grabs the first view of the
// road. The banner must show first: until then the screen may still hold the
// window of a game that has just been killed. Home is pressed again until the
// banner is gone, since a press that arrives before the window has focus is
// lost, and one during play does nothing.
Screenshot startUpView(GameRun& game) {
    const int attempts = 20;
    if (!game.waitForWindow() || !game.waitForOutput("Linking shaders")) return {};
    Screenshot shot;
    for (int i = 0; i < attempts; ++i) {
        shot = takeScreenshot();
        if (shot.width == 0 || !looksLikeSky(mean(shot, skyStrip))) break;
        waitSeconds(0.25);
    }
    for (int i = 0; i < attempts; ++i) {
        game.key("Home");
        waitSeconds(1.0);
        shot = takeScreenshot();
        if (shot.width == 0 || looksLikeSky(mean(shot, skyStrip))) return shot;
    }
    ADD_FAILURE() << "the level 1 banner did not give way to the road";
    return {};
}

// A 256 x 256 magenta hill: a 32-bit image, so the terrain carries its own
// colours instead of the road-coloured texel the sky box leaves bound.
void writeColouredHeightmap(const std::string& directory) {
    const int size = 256;
    const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 0};
    std::vector<uint8_t> file(header, header + sizeof header);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const double fromCentre = std::hypot(row - size / 2, column - size / 2) / (size * 0.75);
            file.insert(file.end(), {255, 0, 255, uint8_t(255 * (1 - fromCentre))});
        }
    }
    FILE* out = std::fopen((directory + "/resources/vorlane.tga").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

}  // namespace

TEST(OnScreen, StartUpShowsSkyAboveTheRoadPictureWithTheVehicleAndTheTerrainAhead) {
    GameRun game;
    const Screenshot shot = startUpView(game);
    ASSERT_EQ(shot.width, 1420);
    EXPECT_TRUE(looksLikeSky(mean(shot, skyStrip)));
    EXPECT_TRUE(looksLikeLitGround(mean(shot, groundLeft)));
    EXPECT_TRUE(looksLikeLitGround(mean(shot, groundRight)));
    // The ground picture, not a plain colour: dark asphalt between bright fields.
    EXPECT_LT(mean(shot, roadAtHorizon).g, 0.75 * mean(shot, fieldsAtHorizon).g);
    const Rgb body = mean(shot, vehicle);
    EXPECT_GT(body.r - body.g, 30) << "no red vehicle in the lower middle";

    // A magenta terrain changes the view at the lump on the horizon and not the
    // ground nearer by. Two runs never draw quite alike (a few levels per pixel).
    const std::string colouredDirectory = makeGameDirectory();
    writeColouredHeightmap(colouredDirectory);
    GameRun colouredGame({}, colouredDirectory);
    const Screenshot coloured = startUpView(colouredGame);
    ASSERT_EQ(coloured.width, 1420);
    EXPECT_GT(regionDifference(shot, coloured, terrainLump), 8);
    EXPECT_LT(regionDifference(shot, coloured, nearGround), 5);
}

TEST(OnScreen, TheSkyTravelsWithTheCameraWhileTheGroundGoesBy) {
    GameRun game;
    const Screenshot before = startUpView(game);
    ASSERT_EQ(before.width, 1420);
    game.keyDown("w");
    waitSeconds(4.0);
    game.keyUp("w");
    const Screenshot after = takeScreenshot();
    ASSERT_EQ(after.width, 1420);
    // The picture is drawn the same way every frame, so a still view differs by
    // nothing at all; a sky left behind would show its walls coming closer.
    EXPECT_LT(regionDifference(before, after, skyStrip), 0.5);
    EXPECT_GT(regionDifference(before, after, roadAhead), 1.0);
}
