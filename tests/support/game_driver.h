#pragma once
// The real game in this test process: its own start-up, callbacks and frames with a real GL context on the test X
// display, on the scripted clock, with scripted input through its own input callbacks. The same script gives the same
// frames and output whatever the machine's load.
#include <cstdint>
#include <functional>
#include <string>

#include "tests/support/gl_context.h"

// Starts the game once per process; its window then shrinks to a quarter of the design size, for quick frames.
void startDrivenGame();

// Passes of the main loop, each msEach of scripted time: idle pass, then frame.
void playFrames(int count, uint32_t msEach = 100);
// Passes until done() holds after one; false when maxMs of game time ran out. Only every drawEvery-th pass draws
// its frame, for long stretches of road: the game moves on in its steps alone, the overlay's flow waits for a frame.
bool playUntil(const std::function<bool()>& done, uint32_t maxMs, uint32_t msEach = 100, int drawEvery = 1);

void pressKey(unsigned char key);
void releaseKey(unsigned char key);
void tapKey(unsigned char key);
void tapSpecialKey(int key);

// The last frame's colour, in the overlay's space: the design size, y downward.
Pixel framePixel(int x, int y);

// Everything the game printed since the previous call.
std::string gameOutput();
