#include "world/pickups.h"

#include <GL/glew.h>

#include <cmath>

#include "assets/model_draw.h"
#include "assets/obj_model.h"
#include "assets/render_options.h"
#include "assets/shader_program.h"
#include "assets/view_volume.h"
#include "platform/messages.h"
#include "player/player.h"
#include "player/vehicle_motion.h"

Pickup::Pickup() : kind(0), position{0, 0, 0}, radius(0), collected(false) {}

namespace {

const int32_t kHealthPerMushroom = 25;
const int32_t kHealthCap = 100;
const int32_t kBoostPerPickup = 50;
const int32_t kBoostCap = 400;
const int32_t kBoostLostToBadMushroom = 25;
const int32_t kAmmoPerRifle = 1;
const int32_t kAmmoCap = 10;
const int32_t kAmmoLostToBadMushroom = 2;

const float kMushroomScale = 3;
const float kRifleScale = 10;
const float kRifleTilt = -90;  // the rifle model lies flat; stand it on edge, its side to the camera
const float kBottleScale = 3;
const unsigned int kBottleDrawMode = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR;

ObjModel* redMushroomModel;
ObjModel* yellowMushroomModel;
ObjModel* rifleModel;
ObjModel* bottleModel;

void drawScaled(ObjModel* model, const Pickup& pickup, float factor, unsigned int mode) {
    glPushMatrix();
    glTranslatef(pickup.position.x, pickup.position.y, pickup.position.z);
    glScalef(factor, factor, factor);
    glmDraw(model, mode);
    glPopMatrix();
}

void healFromMushroom() {
    if (player.health < kHealthCap) player.health += kHealthPerMushroom;
}

// Returns whether the player's health ran out; the car then stops dead.
bool hurtFromMushroom() {
    say("Got HP Powerup(BAD SHROOM)!");
    player.health -= kHealthPerMushroom;
    if (player.boostPoints > kBoostLostToBadMushroom) player.boostPoints -= kBoostLostToBadMushroom;
    if (player.ammo > kAmmoLostToBadMushroom) player.ammo -= kAmmoLostToBadMushroom;
    if (player.health > 0) return false;
    resetDriveState();
    return true;
}

void addCharge() {
    say("Got ammo Powerup!");
    if (player.ammo < kAmmoCap) player.ammo += kAmmoPerRifle;
}

void addBoost() {
    say("Got BP Powerup!");
    if (player.boostPoints < kBoostCap) player.boostPoints += kBoostPerPickup;
}

// Returns whether the player's health ran out.
bool applyEffect(int32_t kind) {
    switch (kind) {
        case kRedMushroom: healFromMushroom(); break;
        case kYellowMushroom: return hurtFromMushroom();
        case kRifle: addCharge(); break;
        case kBottle: addBoost(); break;
        default: break;  // an unknown kind is simply used up
    }
    return false;
}

// The reach is compared with the squared distance as it stands: a placed pickup
// (radius 15, reach 20) is taken within about 5.9 units.
bool inReach(const Pickup& pickup) {
    float dx = player.vehiclePos.x - pickup.position.x;
    float dz = player.vehiclePos.z - pickup.position.z;
    int32_t reach = pickup.radius + player.pickupReach;
    return dx * dx + dz * dz <= static_cast<float>(reach);
}

void drawRifle(const Pickup& pickup) {
    glPushMatrix();
    glTranslatef(pickup.position.x, pickup.position.y, pickup.position.z);
    glRotatef(kRifleTilt, 1, 0, 0);
    glScalef(kRifleScale, kRifleScale, kRifleScale);
    glmDraw(rifleModel, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE);
    glPopMatrix();
}

// A mushroom's surface is closed, so none of its back faces shows from outside it: they are left out, which halves
// the work of the many small mushrooms of level 3. Not in wireframe, where they show, nor with the eye inside it.
void drawMushroom(const Pickup& pickup, const ViewVolume& view) {
    const bool eyeOutside = nearestDepth(view, pickup.position, pickupDrawnRadius(pickup.kind)) > 0.0f;
    if (eyeOutside && !renderOptions.wireframe) glEnable(GL_CULL_FACE);
    ObjModel* model = pickup.kind == kRedMushroom ? redMushroomModel : yellowMushroomModel;
    drawScaled(model, pickup, kMushroomScale, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE);
    glDisable(GL_CULL_FACE);
}

// Mushrooms use the fixed-function pipeline, rifles and bottles the shaders.
void drawPickup(const Pickup& pickup, const ViewVolume& view) {
    if (pickup.kind == kRedMushroom || pickup.kind == kYellowMushroom) {
        if (!pickup.collected) drawMushroom(pickup, view);
        return;
    }
    useShaderProgram(shaderProgram);
    if (!pickup.collected) {
        if (pickup.kind == kRifle) drawRifle(pickup);
        if (pickup.kind == kBottle) drawScaled(bottleModel, pickup, kBottleScale, kBottleDrawMode);
    }
    useShaderProgram(0);
}

}  // namespace

void loadPickupModels() {
    redMushroomModel = loadModel("resources/models/mushroom_red/mushroom.obj");
    yellowMushroomModel = loadModel("resources/models/mushroom_yellow/mushroom.obj");
    rifleModel = loadModel("resources/models/ak47/ak47.obj");
    bottleModel = loadModel("resources/models/vodka/vodka.obj");
}

void drawPickups(const Pickup* pickups, int32_t count, const ViewVolume& view) {
    for (const Pickup* pickup = pickups; pickup < pickups + count; ++pickup) {
        if (ballCanShow(view, pickup->position, pickupDrawnRadius(pickup->kind))) drawPickup(*pickup, view);
    }
}

// Models are read into a box of side 2 about their centre: every corner lies within sqrt(3) of it.
float pickupDrawnRadius(int32_t kind) {
    const float modelRadius = std::sqrt(3.0f);
    switch (kind) {
        case kRedMushroom:
        case kYellowMushroom: return modelRadius * kMushroomScale;
        case kRifle: return modelRadius * kRifleScale;
        case kBottle: return modelRadius * kBottleScale;
        default: return 0.0f;
    }
}

bool collectPickups(Pickup* pickups, int32_t count) {
    for (Pickup* pickup = pickups; pickup < pickups + count; ++pickup) {
        if (pickup->collected || !inReach(*pickup)) continue;
        pickup->collected = true;
        return applyEffect(pickup->kind);
    }
    return false;
}
