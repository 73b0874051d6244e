// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "world/skybox.h"
Skybox sky;
void loadSkybox() {}
void drawSkybox() {}
