// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "player/pickups.h"
Pickup::Pickup() : kind(0), position{0, 0, 0}, radius(0), collected(false) {}
ObjModel *redMushroomModel, *yellowMushroomModel, *rifleModel, *bottleModel;
void drawRedMushroom(const Pickup&) {}
void drawYellowMushroom(const Pickup&) {}
void drawRifle(const Pickup&) {}
void drawBottle(const Pickup&) {}
void collectPickups() {}
