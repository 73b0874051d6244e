#pragma once
// The three levels: ground picture, random pickup field, fog; level (re)start.
#include <cstdint>

#include "world/pickups.h"

const int kLevelCount = 3;

struct Level {
    int32_t pickupCount;
    unsigned int groundTexture;
    Pickup* pickups;  // pickupCount records
    // Points groundTexture at level number's picture (1..3; others keep it) and
    // replaces the pickups with a new field, releasing the old one.
    void setUpLevel(int maxPickups, int minPickups, int number);
};

extern Level level;
extern int32_t levelNumber;  // 1..3, 4 and above: all won

// State of the game's own 15-bit generator; 1 at start, never seeded, so every
// run lays out the same fields.
extern uint32_t randomState;

// A uniform whole number in [lo, hi] from the game's own 15-bit generator.
int randomInRange(int lo, int hi);
void placePickup(Pickup& pickup, PickupKind minKind, PickupKind maxKind);
// setUpLevel with the numbered level's own pickup count (1..kLevelCount), each
// pickup set on the terrain where it rises to 2 or more, else at height 5.
void setUpPlannedLevel(int number);
// Starts the level levelNumber names: the car at rest at the road's start, the
// sky round it, the meters of level 1, the level's fog and a fresh pickup field.
// Any other number only puts the car back and retires the pickups.
void startLevel();
// The ground plane, opaque, at height 0, over the whole world (kGroundHalfSize).
void drawGround();
