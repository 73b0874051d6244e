#pragma once
// Pickups on the road: red mushroom heals, yellow harms, rifle adds a charge,
// bottle adds boost points. Drawn every frame until taken.
#include <cstdint>
#include "core/vec3.h"

struct ObjModel;

// A pickup of any other kind is taken with no effect.
enum PickupKind : int32_t { kRedMushroom = 1, kYellowMushroom = 2, kRifle = 3, kBottle = 4 };

struct Pickup {
    int32_t kind;      // a PickupKind
    Vec3 position;     // the test uses x and z only
    int32_t radius;    // 15 for every placed pickup
    bool collected;
    Pickup();          // position (0, 0, 0)
};

extern ObjModel* redMushroomModel;
extern ObjModel* yellowMushroomModel;
extern ObjModel* rifleModel;
extern ObjModel* bottleModel;

// Reads the four pickups' models; start-up does, before the game takes input.
void loadPickupModels();
void drawRedMushroom(const Pickup& pickup);
void drawYellowMushroom(const Pickup& pickup);
void drawRifle(const Pickup& pickup);
void drawBottle(const Pickup& pickup);
// How far from its position a pickup of this kind can draw anything; 0 for a kind that draws nothing.
float pickupDrawnRadius(int32_t kind);

// Takes at most one pickup in reach of the vehicle per call.
void collectPickups();
