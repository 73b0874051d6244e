#pragma once
// Pickups on the road: red mushroom heals, yellow harms, rifle adds a charge,
// bottle adds boost points. Drawn every frame until taken.
#include <cstdint>
#include "player/vec3.h"

struct ObjModel;

struct Pickup {
    int32_t kind;      // 1 red mushroom, 2 yellow mushroom, 3 rifle, 4 bottle
    Vec3 position;     // the test uses x and z only
    int32_t radius;    // 15 for every placed pickup
    bool collected;
    Pickup();          // position (0, 0, 0)
};

extern ObjModel* redMushroomModel;
extern ObjModel* yellowMushroomModel;
extern ObjModel* rifleModel;
extern ObjModel* bottleModel;

void drawRedMushroom(const Pickup& pickup);
void drawYellowMushroom(const Pickup& pickup);
void drawRifle(const Pickup& pickup);
void drawBottle(const Pickup& pickup);

// Takes at most one pickup in reach of the vehicle per call.
void collectPickups();
