// The whole game through the game driver: three levels to victory, with a
// rifle, a bottle, a red and a yellow mushroom taken on the way, a boost and a
// shot, one loss by leaving the road and one by running out of health.
//
// The pickup layout never changes (the game's generator is never seeded), so
// the route is worked out from it: the car aims at chosen pickups and
// otherwise keeps to a lane beside the pickup field.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "assets/bmp_reader.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"

namespace {

const float kLaneX = 170;  // beside the pickup field (|x| <= 105), inside the road (250)
const float kFinishZ = -4850;
const unsigned char kHome = 0;  // marks the Home key in a route
const float kDegrees = 180.0f / 3.14159265f;

bool held[256];

void hold(unsigned char key, bool down) {
    if (down == held[key]) return;
    held[key] = down;
    down ? pressKey(key) : releaseKey(key);
}

// Steers so that the vehicle's reference point, 30 units ahead of the camera
// along -z, passes through (x, z).
void steerAt(float x, float z) {
    float dx = x - player.cameraPos.x;
    float ahead = player.cameraPos.z - 30 - z;
    float wanted = -std::atan2(dx, std::max(ahead, 1.0f)) * kDegrees;
    hold('a', player.heading < wanted - 0.5f);
    hold('d', player.heading > wanted + 0.5f);
}

// Pedal down until the reference point is past z, aiming at x. Long ways are
// played in long passes, most of them not drawn.
void driveThrough(float x, float z, bool longWay = false) {
    hold('w', true);
    playUntil([&] {
        steerAt(x, z);
        return player.cameraPos.z - 30 < z || gameOver || levelComplete;
    }, 120000, longWay ? 250 : 100, longWay ? 8 : 4);
}

void lift() {
    for (unsigned char key : {'w', 'a', 'd'}) hold(key, false);
}

void pressHome() {
    tapSpecialKey(GLUT_KEY_HOME);
    playFrames(1);
}

struct Point {
    float x, z;
};

Point referencePoint() { return {player.cameraPos.x, player.cameraPos.z - 30}; }

// No pickup but the one aimed at lies within reach of the straight way from a
// to b, with a margin for the curve of the turn.
bool wayClear(Point a, Point b, const Pickup* aimedAt = nullptr) {
    for (int i = 0; i < level.pickupCount; ++i) {
        const Pickup& p = level.pickups[i];
        if (&p == aimedAt || p.collected || p.position.z > a.z || p.position.z < b.z - 20) continue;
        float t = (p.position.z - a.z) / (b.z - a.z);
        if (std::fabs(a.x + t * (b.x - a.x) - p.position.x) < 12) return false;
    }
    return true;
}

// A way to (x, z) that takes nothing else: straight, or through a lane beside
// the field, with room on each leg to turn onto it (the car turns 20 degrees a
// second at 192 units a second).
bool findWay(Point to, const Pickup* aimedAt, std::vector<Point>* way) {
    const float kRoomToTurn = 600;
    Point from = referencePoint();
    if (to.z < from.z - kRoomToTurn && wayClear(from, to, aimedAt)) {
        *way = {to};
        return true;
    }
    for (float laneX : {kLaneX, -kLaneX}) {
        for (float entry : {kRoomToTurn, 800.0f, 1000.0f}) {
            Point lane = {laneX, to.z + entry};
            if (lane.z > from.z - kRoomToTurn) continue;
            if (wayClear(from, lane) && wayClear(lane, to, aimedAt)) {
                *way = {lane, to};
                return true;
            }
        }
    }
    return false;
}

// Takes the nearest pickup of a kind that the car can reach without taking
// another; returns what the game printed on the way.
std::string take(int kind) {
    std::vector<Point> way;
    const Pickup* target = nullptr;
    for (int i = 0; i < level.pickupCount; ++i) {
        const Pickup& p = level.pickups[i];
        if (p.kind != kind || p.collected) continue;
        if (target && p.position.z < target->position.z) continue;
        std::vector<Point> candidate;
        if (findWay({p.position.x, p.position.z - 10}, &p, &candidate)) target = &p, way = candidate;
    }
    EXPECT_NE(target, nullptr) << "no pickup of kind " << kind << " within reach";
    if (!target) return "";
    gameOutput();
    for (Point point : way) driveThrough(point.x, point.z);
    EXPECT_TRUE(target->collected) << "kind " << kind << " at x " << target->position.x;
    return gameOutput();
}

// Out to a lane beside the pickup field on a clear way, then on to the finish.
void driveLaneToFinish() {
    Point from = referencePoint(), lane = {0, 0};
    for (float out = 500; out < 2000 && !wayClear(from, lane); out += 100) {
        for (float laneX : {kLaneX, -kLaneX}) {
            if (!wayClear(from, lane)) lane = {laneX, from.z - out};
        }
    }
    ASSERT_TRUE(wayClear(from, lane)) << "no clear way out to a lane";
    driveThrough(lane.x, lane.z, true);
    driveThrough(lane.x, kFinishZ - 40, true);
    lift();
    playFrames(2);
    EXPECT_EQ(gameOutput(), "") << "nothing taken on the way";
}

// The overlay's meters: the bar's top edge stands at 605 less its points; the
// bar is its own colour over any scene, the dim column above it is not.
bool barReaches(int left, int points, int pixelsPerPoint, int colour) {
    int top = 605 - points * pixelsPerPoint;
    auto isBar = [&](Pixel p) { return p[colour] - p[1 - colour] > 150; };
    return isBar(framePixel(left + 25, top + 8)) && !isBar(framePixel(left + 25, top - 8));
}

void expectMeters(int health, int boost, int ammo) {
    EXPECT_EQ(player.health, health);
    EXPECT_EQ(player.boostPoints, boost);
    EXPECT_EQ(player.ammo, ammo);
    EXPECT_TRUE(barReaches(210, health, 4, 0)) << "health bar at " << health;
    EXPECT_TRUE(barReaches(1160, boost, 1, 1)) << "boost bar at " << boost;
}

// The picture fills the screen: its grid of region colours shows on the frame.
bool showsPicture(const char* path) {
    std::unique_ptr<RgbImage> image = loadBmp(path);
    double worst = 0;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            int x = (col * 2 + 1) * image->width / 8, y = (row * 2 + 1) * image->height / 8;
            Pixel shown = framePixel((col * 2 + 1) * kDesignWidth / 8, (row * 2 + 1) * kDesignHeight / 8);
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::fabs(shown[c] - image->pixels[(y * image->width + x) * 3 + c]));
        }
    }
    return worst < 40;
}

}  // namespace

TEST(Playthrough, ThreeLevelsToVictoryWithPickupsAndTwoLosses) {
    startDrivenGame();
    playFrames(3);
    ASSERT_TRUE(showsPicture("resources/level1.bmp"));
    pressHome();
    expectMeters(50, 200, 5);

    // Level 1: a rifle and a bottle, a boost and a shot, then off the road.
    EXPECT_EQ(take(3), "Got ammo Powerup!\n");
    EXPECT_EQ(take(4), "Got BP Powerup!\n");
    playFrames(1);
    expectMeters(50, 250, 6);
    pressMouse(GLUT_RIGHT_BUTTON);
    playFrames(10);
    releaseMouse(GLUT_RIGHT_BUTTON);
    EXPECT_LT(player.boostPoints, 250 - 60) << "a second of boost";
    tapKey(' ');
    EXPECT_EQ(gameOutput(), "IMA CHARGIN MAH LAZERS!\n");
    EXPECT_EQ(player.ammo, 5);
    driveThrough(400, player.cameraPos.z - 400);
    lift();
    ASSERT_TRUE(gameOver) << "left the road";
    playFrames(2);
    EXPECT_TRUE(showsPicture("resources/gameover.bmp"));

    pressHome();
    EXPECT_TRUE(showsPicture("resources/level1.bmp"));
    pressHome();
    playFrames(1);
    expectMeters(50, 200, 5);

    // Level 1 again, in the lane; level 2: a red mushroom, then bad ones until health runs out.
    driveLaneToFinish();
    ASSERT_TRUE(showsPicture("resources/level2.bmp"));
    pressHome();
    EXPECT_EQ(take(1), "") << "a red mushroom heals without a word";
    EXPECT_EQ(take(2), "Got HP Powerup(BAD SHROOM)!\n");
    playFrames(1);
    expectMeters(50, 175, 3);
    while (!gameOver && !HasFailure()) {
        EXPECT_NE(take(2).find("Got HP Powerup(BAD SHROOM)!"), std::string::npos);
    }
    lift();
    EXPECT_LE(player.health, 0);
    playFrames(1);
    EXPECT_TRUE(showsPicture("resources/gameover.bmp"));

    // Three levels in the lane to victory.
    pressHome();
    pressHome();
    for (const char* next : {"resources/level2.bmp", "resources/level3.bmp", "resources/victory.bmp"}) {
        driveLaneToFinish();
        ASSERT_TRUE(showsPicture(next)) << next;
        pressHome();
    }
    EXPECT_EQ(levelNumber, 4);
}
