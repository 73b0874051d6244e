#include "player/pickups.h"

#include <GL/glew.h>

#include <cmath>

#include "assets/obj_model.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/game_flow.h"
#include "core/messages.h"
#include "world/levels.h"

ObjModel* redMushroomModel;
ObjModel* yellowMushroomModel;
ObjModel* rifleModel;
ObjModel* bottleModel;

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

void hurtFromMushroom() {
    say("Got HP Powerup(BAD SHROOM)!");
    player.health -= kHealthPerMushroom;
    if (player.boostPoints > kBoostLostToBadMushroom) player.boostPoints -= kBoostLostToBadMushroom;
    if (player.ammo > kAmmoLostToBadMushroom) player.ammo -= kAmmoLostToBadMushroom;
    if (player.health <= 0) {
        gameOver = true;
        resetDriveState();
    }
}

void addCharge() {
    say("Got ammo Powerup!");
    if (player.ammo < kAmmoCap) player.ammo += kAmmoPerRifle;
}

void addBoost() {
    say("Got BP Powerup!");
    if (player.boostPoints < kBoostCap) player.boostPoints += kBoostPerPickup;
}

void applyEffect(int32_t kind) {
    switch (kind) {
        case kRedMushroom: healFromMushroom(); break;
        case kYellowMushroom: hurtFromMushroom(); break;
        case kRifle: addCharge(); break;
        case kBottle: addBoost(); break;
        default: break;  // an unknown kind is simply used up
    }
}

// The reach is compared with the squared distance as it stands: a placed pickup
// (radius 15, reach 20) is taken within about 5.9 units.
bool inReach(const Pickup& pickup) {
    float dx = player.vehiclePos.x - pickup.position.x;
    float dz = player.vehiclePos.z - pickup.position.z;
    int32_t reach = pickup.radius + player.pickupReach;
    return dx * dx + dz * dz <= static_cast<float>(reach);
}

}  // namespace

void loadPickupModels() {
    modelOnFirstUse(redMushroomModel, "resources/models/mushroom_red/mushroom.obj");
    modelOnFirstUse(yellowMushroomModel, "resources/models/mushroom_yellow/mushroom.obj");
    modelOnFirstUse(rifleModel, "resources/models/ak47/ak47.obj");
    modelOnFirstUse(bottleModel, "resources/models/vodka/vodka.obj");
}

void drawRedMushroom(const Pickup& pickup) {
    drawScaled(redMushroomModel, pickup, kMushroomScale, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE);
}

void drawYellowMushroom(const Pickup& pickup) {
    drawScaled(yellowMushroomModel, pickup, kMushroomScale, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE);
}

void drawRifle(const Pickup& pickup) {
    glPushMatrix();
    glTranslatef(pickup.position.x, pickup.position.y, pickup.position.z);
    glRotatef(kRifleTilt, 1, 0, 0);
    glScalef(kRifleScale, kRifleScale, kRifleScale);
    glmDraw(rifleModel, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE);
    glPopMatrix();
}

void drawBottle(const Pickup& pickup) {
    drawScaled(bottleModel, pickup, kBottleScale, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR);
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

// Nothing is taken while a level banner is up: a death there would be wiped out
// by the banner's level start, which clears gameOver and keeps the meters.
void collectPickups() {
    if (levelIntroVisible) return;
    for (int32_t i = 0; i < level.pickupCount; ++i) {
        Pickup& pickup = level.pickups[i];
        if (pickup.collected || !inReach(pickup)) continue;
        applyEffect(pickup.kind);
        pickup.collected = true;
        return;
    }
}
