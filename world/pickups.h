#pragma once
// Pickups on the road: red mushroom heals, yellow harms, rifle adds a charge,
// bottle adds boost points. Drawn in every frame until taken.
#include <cstdint>

#include "assets/vec3.h"

struct ViewVolume;

// A pickup of any other kind is taken with no effect.
enum PickupKind : int32_t { kRedMushroom = 1, kYellowMushroom = 2, kRifle = 3, kBottle = 4 };

struct Pickup {
    int32_t kind;      // a PickupKind
    Vec3 position;     // the test uses x and z only
    int32_t radius;    // 15 for every placed pickup
    bool collected;
    Pickup();          // position (0, 0, 0)
};

// Reads the four pickups' models; start-up does, before the game takes input.
void loadPickupModels();
// The pickups that can change a pixel of the view, in their order.
void drawPickups(const Pickup* pickups, int32_t count, const ViewVolume& view);
// How far from its position a pickup of this kind can draw anything; 0 for a kind that draws nothing.
float pickupDrawnRadius(int32_t kind);

// Takes at most one pickup in reach of the vehicle and applies it; true when a
// bad mushroom took the last of the player's health (the car then stops dead).
bool collectPickups(Pickup* pickups, int32_t count);
