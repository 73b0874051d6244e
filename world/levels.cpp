#include "world/levels.h"

#include <GL/gl.h>

#include <memory>

#include "assets/bmp_reader.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "world/scene.h"
#include "world/skybox.h"

Level level;
int32_t levelNumber = 1;
uint32_t randomState = 1;

namespace {

// Draws of the generator lie in 0..randomLimit-1.
const int randomLimit = 32768;

// Pickups lie on the road, at this height, anywhere along its length.
const int pickupRadius = 15;
const float pickupHeight = 3.0f;
const int pickupHalfWidth = 105;
const int pickupHalfLength = 4999;

// The ground plane. Its picture holds the road strip, |x| < roadStripHalfWidth,
// finely on its left half and the whole plane coarsely on its right half
// (tools/assets_pictures.py lays it out): the driver reads the road's paint
// from close by, while the fields only go by.
const float roadStripHalfWidth = 400.0f;

struct LevelPlan {
    int maxPickups;
    int minPickups;
    PickupKind minKind;   // of the placement that counts
    PickupKind maxKind;
    bool fog;
    const char* groundPath;
};

const LevelPlan levelPlans[kLevelCount] = {
    {40, 30, kRifle, kBottle, false, "resources/terrain1.bmp"},
    {100, 50, kRedMushroom, kBottle, true, "resources/terrain2.bmp"},
    {300, 200, kYellowMushroom, kYellowMushroom, true, "resources/terrain3.bmp"},
};

// Each level's ground texture is made the first time the level is set up and kept.
unsigned int groundTextures[kLevelCount];

// The classic portable 15-bit generator.
int nextRandom() {
    randomState = randomState * 1103515245u + 12345u;
    return int((randomState / 65536u) % unsigned(randomLimit));
}

unsigned int groundTextureFor(int number) {
    unsigned int& texture = groundTextures[number - 1];
    if (texture == 0) {
        std::unique_ptr<RgbImage> image = loadBmp(levelPlans[number - 1].groundPath);
        texture = uploadRgbTexture(*image);
    }
    return texture;
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

// The sky travels with the camera, so after a level's drive it stands far down the road.
void centreSkyOnCamera() {
    sky.centreX = player.cameraPos.x;
    sky.centreZ = player.cameraPos.z;
}

void retirePickups() {
    for (int i = 0; i < level.pickupCount; ++i) level.pickups[i].collected = true;
}

}  // namespace

int randomInRange(int lo, int hi) {
    const long long span = (long long)hi - lo + 1;
    return int(lo + (long long)(double(nextRandom() * span) / randomLimit));
}

void placePickup(Pickup& pickup, PickupKind minKind, PickupKind maxKind) {
    pickup.collected = false;
    pickup.radius = pickupRadius;
    pickup.kind = randomInRange(minKind, maxKind);
    const int z = randomInRange(-pickupHalfLength, pickupHalfLength);
    const int x = randomInRange(-pickupHalfWidth, pickupHalfWidth);
    pickup.position = {float(x), pickupHeight, float(z)};
}

void Level::setUpLevel(int maxPickups, int minPickups, int number) {
    if (number >= 1 && number <= kLevelCount) groundTexture = groundTextureFor(number);
    delete[] pickups;
    pickupCount = randomInRange(minPickups, maxPickups);
    pickups = new Pickup[pickupCount];
    for (int i = 0; i < pickupCount; ++i) placePickup(pickups[i], kRifle, kBottle);
}

void setUpPlannedLevel(int number) {
    const LevelPlan& plan = levelPlans[number - 1];
    level.setUpLevel(plan.maxPickups, plan.minPickups, number);
}

// Level start leaves the projection to the window and the F8 key: a far plane
// of 1000 would cut away the sky box 10000 units out, and with no clear colour
// the uncovered screen would keep old frames.
void startLevel() {
    resetDriveState();
    retirePickups();
    putPlayerAtStart();
    centreSkyOnCamera();
    if (levelNumber < 1 || levelNumber > kLevelCount) return;
    const LevelPlan& plan = levelPlans[levelNumber - 1];
    if (levelNumber == 1) restoreStartMeters();
    if (plan.fog) {
        glEnable(GL_FOG);
    } else {
        glDisable(GL_FOG);
    }
    setUpPlannedLevel(levelNumber);
    // Every pickup draws kind and place a second time; only this draw counts.
    for (int i = 0; i < level.pickupCount; ++i) placePickup(level.pickups[i], plan.minKind, plan.maxKind);
    liftPickupsOntoTerrain();
}

// The ground is opaque, so blending it would only read back what it covers.
void drawGround() {
    const GLboolean blending = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, level.groundTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    groundQuad(-kGroundHalfSize, -roadStripHalfWidth, planeS(-kGroundHalfSize), planeS(-roadStripHalfWidth));
    groundQuad(-roadStripHalfWidth, roadStripHalfWidth, 0.0f, 0.5f);
    groundQuad(roadStripHalfWidth, kGroundHalfSize, planeS(roadStripHalfWidth), planeS(kGroundHalfSize));
    glEnd();
    glPopMatrix();
    if (blending) glEnable(GL_BLEND);
}
