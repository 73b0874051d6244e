// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "player/weapon.h"
void fireLaser() {}
