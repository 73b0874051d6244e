#pragma once
// Start-up: the window, the player's first placement, the GL checks, the first
// frame (the level 1 banner), then the world, the shader program, the sounds and
// the callbacks, then the main loop.

#include "shell/settings.h"

// Runs start-up and the main loop; returns -1 when the terrain cannot be built.
int runGame(int argc, char** argv, const Settings& settings);

// Start-up alone, up to the main loop: 0, or -1 when the terrain cannot be built.
int startGame(int argc, char** argv, const Settings& settings);
