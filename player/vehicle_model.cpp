// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "player/vehicle_model.h"
void drawVehicleBody() {}
void drawLeftWheel() {}
void drawRightWheel() {}
