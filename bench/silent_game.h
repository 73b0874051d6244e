#pragma once
// The benchmarks' way into the game: its own start-up in a window, without
// sound, and frames drawn from chosen places on the road.

// Runs the game's start-up in a window of this size (or the screen, if smaller)
// with the sound on SDL's silent driver. False when start-up fails.
bool startSilentWindowedGame(int width, int height);
// Straight into play at the level's start, as Home on its banner does.
void enterLevel(int number);
// The camera at the road's centre line at z, looking along the road towards
// direction (-1 down it, +1 back up it), the car and the sky with it, at rest.
void placeCameraAt(float z, float direction);
// One whole frame from there.
void drawFrameFrom(float z, float direction);
