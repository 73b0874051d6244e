#include "world/levels.h"

#include <GL/gl.h>

#include "assets/fog.h"
#include "assets/textures.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "player/world_extents.h"
#include "world/skybox.h"
#include "world/terrain.h"

Level level;
int32_t levelNumber = 1;
uint32_t randomState = 1;

namespace {

// Draws of the generator lie in 0..kRandomLimit-1.
const int kRandomLimit = 32768;

// Pickups lie on the road, at this height, anywhere along its length.
const int kPickupRadius = 15;
const float kPickupHeight = 3.0f;
const int kPickupHalfWidth = 105;
const int kPickupHalfLength = 4999;

// Pickups stand this far above a hill, or float at kRestingHeight elsewhere.
const float kLowestHill = 2.0f;
const float kLiftAboveHill = 3.0f;
const float kRestingHeight = 5.0f;

// The ground plane's picture holds the road strip, |x| < kRoadStripHalfWidth,
// finely on its left half and the whole plane coarsely on its right half
// (tools/assets_pictures.py lays it out): the driver reads the road's paint
// from close by, while the fields only go by.

struct LevelPlan {
    int maxPickups;
    int minPickups;
    PickupKind minKind;   // of the placement that counts
    PickupKind maxKind;
    bool fog;
    const char* groundPath;
};

const LevelPlan kLevelPlans[kLevelCount] = {
    {40, 30, kRifle, kBottle, false, "resources/terrain1.bmp"},
    {100, 50, kRedMushroom, kBottle, true, "resources/terrain2.bmp"},
    {300, 200, kYellowMushroom, kYellowMushroom, true, "resources/terrain3.bmp"},
};

// The classic portable 15-bit generator.
int nextRandom() {
    randomState = randomState * 1103515245u + 12345u;
    return int((randomState / 65536u) % unsigned(kRandomLimit));
}

// Texture s of world x in the whole-plane half of the ground picture.
float planeS(float x) {
    return 0.75f + 0.25f * x / kGroundHalfSize;
}

// One quad of the ground over the road's whole length, from world x0 to x1.
void groundQuad(float x0, float x1, float s0, float s1) {
    glTexCoord2f(s0, 0.0f);
    glVertex3f(x0, 0.0f, -kGroundHalfSize);
    glTexCoord2f(s0, 1.0f);
    glVertex3f(x0, 0.0f, kGroundHalfSize);
    glTexCoord2f(s1, 1.0f);
    glVertex3f(x1, 0.0f, kGroundHalfSize);
    glTexCoord2f(s1, 0.0f);
    glVertex3f(x1, 0.0f, -kGroundHalfSize);
}

void liftPickupsOntoTerrain() {
    for (int i = 0; i < level.pickupCount; ++i) {
        Vec3& position = level.pickups[i].position;
        float height = 0.0f;
        const bool onHill = terrainHeightAt(position.x, position.z, &height) && height >= kLowestHill;
        position.y = onHill ? height + kLiftAboveHill : kRestingHeight;
    }
}

void retirePickups() {
    for (int i = 0; i < level.pickupCount; ++i) level.pickups[i].collected = true;
}

}  // namespace

int randomInRange(int lo, int hi) {
    const long long span = (long long)hi - lo + 1;
    return int(lo + (long long)(double(nextRandom() * span) / kRandomLimit));
}

void placePickup(Pickup& pickup, PickupKind minKind, PickupKind maxKind) {
    pickup.collected = false;
    pickup.radius = kPickupRadius;
    pickup.kind = randomInRange(minKind, maxKind);
    const int z = randomInRange(-kPickupHalfLength, kPickupHalfLength);
    const int x = randomInRange(-kPickupHalfWidth, kPickupHalfWidth);
    pickup.position = {float(x), kPickupHeight, float(z)};
}

void Level::setUpLevel(int maxPickups, int minPickups, int number) {
    if (number >= 1 && number <= kLevelCount) groundTexture = textureFromBmp(kLevelPlans[number - 1].groundPath);
    delete[] pickups;
    pickupCount = randomInRange(minPickups, maxPickups);
    pickups = new Pickup[pickupCount];
    for (int i = 0; i < pickupCount; ++i) placePickup(pickups[i], kRifle, kBottle);
}

void setUpPlannedLevel(int number) {
    const LevelPlan& plan = kLevelPlans[number - 1];
    level.setUpLevel(plan.maxPickups, plan.minPickups, number);
    liftPickupsOntoTerrain();
}

// The projection stays as the window and the F8 key set it, so that the far
// plane still reaches the sky box's walls.
void startLevel() {
    resetDriveState();
    retirePickups();
    putPlayerAtStart();
    centreSkyOn(player.cameraPos.x, player.cameraPos.z);  // after a level's drive it stood far down the road
    if (levelNumber < 1 || levelNumber > kLevelCount) return;
    const LevelPlan& plan = kLevelPlans[levelNumber - 1];
    if (levelNumber == 1) restoreStartMeters();
    switchFog(plan.fog);
    level.setUpLevel(plan.maxPickups, plan.minPickups, levelNumber);
    // Every pickup draws kind and place a second time; only this draw counts.
    for (int i = 0; i < level.pickupCount; ++i) placePickup(level.pickups[i], plan.minKind, plan.maxKind);
    liftPickupsOntoTerrain();
}

// Nothing drawn later lies below the ground, so it writes no depth.
void drawGround() {
    glDepthMask(GL_FALSE);
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    bindLinear(level.groundTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    groundQuad(-kGroundHalfSize, -kRoadStripHalfWidth, planeS(-kGroundHalfSize), planeS(-kRoadStripHalfWidth));
    groundQuad(-kRoadStripHalfWidth, kRoadStripHalfWidth, 0.0f, 0.5f);
    groundQuad(kRoadStripHalfWidth, kGroundHalfSize, planeS(kRoadStripHalfWidth), planeS(kGroundHalfSize));
    glEnd();
    glPopMatrix();
    glDepthMask(GL_TRUE);
}
