// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "player/vehicle_motion.h"
void moveBy(Vec3) {}
void turn(float) {}
void stepBack(float) {}
void updateDrive(float) {}
void resetDriveState() {}
