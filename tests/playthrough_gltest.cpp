// The whole game through the game driver: three levels to victory, with each pickup, a boost, help, the music and
// three losses. The pickups never move (the generator is never seeded): the car aims at them, or keeps to a lane.
#include <gtest/gtest.h>
#include <regex.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "assets/bmp_reader.h"
#include "assets/camera.h"
#include "audio/sounds.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"

namespace {

const float kLaneX = 170;  // beside the pickup field (|x| <= 105), inside the road (250)
const float kFinishZ = -4850;
const float kRoomToTurn = 600;  // the car turns 20 degrees a second at 192 units a second
const float kDegrees = 180.0f / 3.14159265f;

struct Point { float x, z; };

bool held[256];

void hold(unsigned char key, bool down) {
    if (std::exchange(held[key], down) != down) down ? pressKey(key) : releaseKey(key);
}

// The vehicle's reference point, 30 units ahead of the camera along -z.
Point referencePoint() { return {player.cameraPos.x, player.cameraPos.z - 30}; }

// Pedal down, steering the reference point through each point of the way in turn, until it is past the last or
// the level is over. Long ways are played in long passes, most of them not drawn.
void driveUntil(const std::vector<Point>& way, bool longWay = false) {
    hold('w', true);
    for (Point to : way)
        playUntil([&] {
            Point at = referencePoint();
            float wanted = -std::atan2(to.x - at.x, std::max(at.z - to.z, 1.0f)) * kDegrees;
            hold('a', player.heading < wanted - 0.5f);
            hold('d', player.heading > wanted + 0.5f);
            return at.z < to.z || gameOver || levelComplete;
        }, 120000, longWay ? 250 : 100, longWay ? 8 : 4);
}

// The first of these ways whose legs are each at least room long and pass no pickup but the one aimed at, from the
// reference point on, with a margin for the curve.
std::vector<Point> firstClearWay(const std::vector<std::vector<Point>>& ways, const Pickup* aimedAt, float room) {
    for (const std::vector<Point>& way : ways) {
        Point a = referencePoint();
        bool clear = true;
        for (Point b : way) {
            clear = clear && b.z < a.z - room;
            for (const Pickup* p = level.pickups; p < level.pickups + level.pickupCount; ++p) {
                if (p == aimedAt || p->collected || p->position.z > a.z || p->position.z < b.z - 20) continue;
                const float t = (p->position.z - a.z) / (b.z - a.z);
                clear = clear && std::fabs(a.x + t * (b.x - a.x) - p->position.x) >= 12;
            }
            a = b;
        }
        if (clear) return way;
    }
    return {};
}

// Takes the nearest pickup of a kind that the car can reach, straight or through a lane, without taking another;
// returns what the game printed on the way.
std::string take(int kind) {
    const Pickup* target = nullptr;
    std::vector<Point> way;
    for (int i = 0; i < level.pickupCount; ++i) {
        const Pickup& p = level.pickups[i];
        if (p.kind != kind || p.collected || (target && p.position.z < target->position.z)) continue;
        Point to = {p.position.x, p.position.z - 10};
        std::vector<std::vector<Point>> ways = {{to}};
        for (float laneX : {kLaneX, -kLaneX})
            for (float entry : {kRoomToTurn, 800.0f, 1000.0f}) ways.push_back({{laneX, to.z + entry}, to});
        std::vector<Point> clear = firstClearWay(ways, &p, kRoomToTurn);
        if (!clear.empty()) target = &p, way = clear;
    }
    EXPECT_NE(target, nullptr) << "no pickup of kind " << kind << " within reach";
    gameOutput();
    driveUntil(way);
    EXPECT_TRUE(!target || target->collected) << "kind " << kind;
    return gameOutput();
}

// Out to a lane beside the pickup field on a clear way, then on to the finish; nothing taken on the way, and the
// level's time said once it is won.
void driveLaneToFinish() {
    std::vector<std::vector<Point>> ways;
    for (float out = 500; out < 2000; out += 100)
        for (float laneX : {kLaneX, -kLaneX})
            ways.push_back({{laneX, referencePoint().z - out}, {laneX, kFinishZ - 40}});
    std::vector<Point> way = firstClearWay(ways, nullptr, 0);
    ASSERT_FALSE(way.empty()) << "no clear way out to a lane";
    driveUntil(way, true);
    playFrames(1);
    const std::string said = gameOutput();
    regex_t line;  // one line, the level's time and its best
    regcomp(&line, "^Level [1-3] driven in [0-9]+\\.[0-9]{2} s \\(best [0-9]+\\.[0-9]{2} s\\)\n$", REG_EXTENDED);
    EXPECT_EQ(regexec(&line, said.c_str(), 0, nullptr, 0), 0) << said;
    regfree(&line);
}

// White letters along the banner's foot: the time of the level just won.
bool writesLevelTime() {
    int white = 0;
    for (int y = 720; y < 772; y += 4)
        for (int x = 0; x < kDesignWidth; x += 4) white += framePixel(x, y) == Pixel{255, 255, 255};
    return white > 20;
}

// The meters, and their bars in the overlay: a bar's top edge stands at 605 less its points; the bar is its own
// colour over any scene, the dim column above it is not.
void expectMeters(int health, int boost, int ammo) {
    EXPECT_EQ(std::make_tuple(player.health, player.boostPoints, player.ammo), std::make_tuple(health, boost, ammo));
    const struct { int left, top, colour; } bars[] = {{210, 605 - health * 4, 0}, {1160, 605 - boost, 1}};
    for (const auto& bar : bars) {
        auto isBar = [&](Pixel p) { return p[bar.colour] - p[1 - bar.colour] > 150; };
        EXPECT_TRUE(isBar(framePixel(bar.left + 25, bar.top + 8)) && !isBar(framePixel(bar.left + 25, bar.top - 8)));
    }
}

// The picture fills the screen: at the centres of a 4 x 4 grid, and over the health bar, the boost bar and the first
// charge icon, the frame (a quarter of the design size) shows a colour the picture has within a few texels.
bool showsPicture(const std::string& name) {
    std::unique_ptr<RgbImage> image = loadBmp(("resources/" + name + ".bmp").c_str());
    std::vector<std::pair<int, int>> spots = {{235, 592}, {1185, 585}, {590, 790}};
    for (int cell = 0; cell < 16; ++cell)
        spots.push_back({(cell % 4 * 2 + 1) * kDesignWidth / 8, (cell / 4 * 2 + 1) * kDesignHeight / 8});
    for (const auto& [x, y] : spots) {
        const Pixel shown = framePixel(x, y);
        const int row = y * image->height / kDesignHeight, column = x * image->width / kDesignWidth;
        int nearest = 255;
        for (int r = std::max(row - 4, 0); r <= std::min(row + 4, image->height - 1); ++r) {
            for (int c = std::max(column - 4, 0); c <= std::min(column + 4, image->width - 1); ++c) {
                const uint8_t* t = &image->pixels[(size_t(r) * image->width + c) * 3];
                nearest = std::min(nearest, std::max({std::abs(shown[0] - t[0]), std::abs(shown[1] - t[1]),
                                                      std::abs(shown[2] - t[2])}));
            }
        }
        if (nearest >= 40) return false;
    }
    return true;
}

// Turned on its banner, the car starts the level straight: the frame that takes Home still shows the banner alone,
// and the first frame of play, drawn before the next step, shows what the later ones show while it stands still.
void startLevelAfterTurningOnTheBanner(const std::string& banner) {
    hold('a', true);
    playFrames(20, 16);
    hold('a', false);
    playFrames(1, 16 - unsteppedMs);  // passes on a step's edge
    tapSpecialKey(GLUT_KEY_HOME);
    playFrames(1, 16);
    EXPECT_TRUE(showsPicture(banner)) << "the frame that takes Home";
    std::vector<Pixel> frames[2];
    for (uint32_t ms : {4, 100}) {
        playFrames(1, ms);
        for (int at = 0; at < kDesignWidth * kDesignHeight; at += 97)
            frames[ms == 100].push_back(framePixel(at % kDesignWidth, at / kDesignWidth));
    }
    EXPECT_EQ(frames[0], frames[1]) << "the first frame of level " << levelNumber;
}

// Level 1: a rifle and a bottle, a second of boost, help and the music paused and resumed, then off the road.
void level1PickupsBoostHelpMusicAndOffTheRoad() {
    expectMeters(50, 200, 5);
    EXPECT_EQ(take(kRifle), "Got ammo Powerup!\n");
    EXPECT_EQ(take(kBottle), "Got BP Powerup!\n");
    playFrames(1);
    expectMeters(50, 250, 6);
    pressButton(GLUT_RIGHT_BUTTON), playFrames(10), releaseButton(GLUT_RIGHT_BUTTON);
    EXPECT_LT(player.boostPoints, 250 - 60) << "a second of boost";
    tapSpecialKey(GLUT_KEY_F1), playFrames(1);
    EXPECT_TRUE(showsPicture("help"));
    tapSpecialKey(GLUT_KEY_F1);
    for (bool heard : {false, true}) {
        tapKey('m'), playFrames(1);
        EXPECT_EQ(musicTrackPlaying(1), heard) << "'m' pauses and resumes the level's track";
    }
    driveUntil({{std::copysign(400.0f, player.cameraPos.x), referencePoint().z - 370}});  // off the nearer side
    EXPECT_TRUE(gameOver) << "left the road";
}

// Level 2: a red mushroom, then bad ones until health runs out.
void level2MushroomsUntilHealthRunsOut() {
    EXPECT_EQ(take(kRedMushroom), "") << "a red mushroom heals without a word";
    EXPECT_EQ(take(kYellowMushroom), "Got HP Powerup(BAD SHROOM)!\n");
    playFrames(1);
    expectMeters(50, 175, 3);
    while (!gameOver && !testing::Test::HasFailure())
        EXPECT_NE(take(kYellowMushroom).find("Got HP Powerup(BAD SHROOM)!"), std::string::npos);
    EXPECT_LE(player.health, 0);
}

// Off the road near its end, and on over the end line: still a loss.
void offTheRoadAndOverTheEndLine() {
    player.cameraPos = {251, 17, -4845}, hold('w', true);
    playUntil([] { return player.cameraPos.z < -4860; }, 10000, 100);
}

}  // namespace

// The eye is where the view transform sends the origin: -R^T t. Pulled back by 'c', it sits 30 units further along z.
TEST(Game, PulledBackTheEyeSits30UnitsBackFramesAreCountedAndLeaveTheMatrixStacksAlone) {
    startDrivenGame();
    for (bool pulledBack : {true, false}) {
        tapKey('c');
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        applyCamera(player.cameraPos, player.viewDir, player.upDir, player.cameraPulledBack);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_NEAR(-(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]), player.cameraPos.z + (pulledBack ? 30 : 0), 0.05);
    }
    playFrames(50, 50);
    EXPECT_EQ(framesPerSecond, 20) << "frames 50 ms apart";
    playFrames(100, 25);
    EXPECT_EQ(framesPerSecond, 40);
    GLint projections = 0, models = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projections);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &models);
    EXPECT_TRUE(projections == 1 && models == 1) << projections << " " << models;
}

// Each leg, and the picture it ends on once the keys are let go, with the track of the level last shown (level 3's on
// victory); Home goes on from each, and from a banner after a turn made on it. Coasting at the end, the engine idles,
// on a road left bare.
TEST(Playthrough, ThreeLevelsToVictoryWithPickupsAndThreeLosses) {
    const std::pair<void (*)(), const char*> legs[] = {{[] { startDrivenGame(); }, "level1"},
        {level1PickupsBoostHelpMusicAndOffTheRoad, "gameover"}, {[] {}, "level1"}, {driveLaneToFinish, "level2"},
        {level2MushroomsUntilHealthRunsOut, "gameover"}, {[] {}, "level1"}, {offTheRoadAndOverTheEndLine, "gameover"},
        {[] {}, "level1"}, {driveLaneToFinish, "level2"}, {driveLaneToFinish, "level3"},
        {driveLaneToFinish, "victory"}};
    for (const auto& [leg, picture] : legs) {
        leg();
        for (unsigned char key : {'w', 'a', 'd'}) hold(key, false);
        playFrames(2);
        ASSERT_TRUE(showsPicture(picture)) << picture;
        EXPECT_EQ(std::vector<bool>({musicTrackPlaying(1), musicTrackPlaying(2), musicTrackPlaying(3)}),
                  std::vector<bool>({levelNumber == 1, levelNumber == 2, levelNumber >= 3})) << picture;
        EXPECT_EQ(writesLevelTime(), leg == driveLaneToFinish) << picture;
        if (levelIntroVisible) {
            startLevelAfterTurningOnTheBanner(picture);
        } else {
            tapSpecialKey(GLUT_KEY_HOME);
            playFrames(1);
        }
    }
    EXPECT_TRUE(engineLoopPlaying(EngineSound::idle) && !engineLoopPlaying(EngineSound::accelerating) &&
                !engineLoopPlaying(EngineSound::topSpeed));
    const Pickup* const pickups = level.pickups;
    EXPECT_TRUE(std::all_of(pickups, pickups + level.pickupCount, [](const Pickup& p) { return p.collected; }))
        << "past the victory banner the road is bare";
}
