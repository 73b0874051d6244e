#pragma once
// Start-up: the window, the world, the player's first placement, the callbacks,
// the GL checks, the shader program and the sounds, then the main loop.

// Runs start-up and the main loop; returns -1 when the terrain cannot be built.
int runGame(int argc, char** argv);

// Start-up alone, up to the main loop: 0, or -1 when the terrain cannot be built.
int startGame(int argc, char** argv);
