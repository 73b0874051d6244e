#pragma once
// The real game in this test process: its own start-up, with a real GL context on the test X display, run by the
// callbacks start-up registered, on the scripted clock. Input goes in as X events to the game's window, which the
// windowing library reads and hands to the game's input callbacks, as a player's would be. The same script gives the
// same frames and output whatever the machine's load.
#include <cstdint>
#include <functional>
#include <string>

#include "tests/support/gl_context.h"

// Starts the game once per process; its window then shrinks to a quarter of the design size, for quick frames, and
// takes the keyboard focus.
void startDrivenGame();

// One pass of the main loop ms of scripted time after the last: the idle callback start-up registered, then, when
// drawn, the window's events and the frame the pass asked for.
void playPass(uint32_t ms, bool draw = true);
// Passes of msEach each, every one drawn.
void playFrames(int count, uint32_t msEach = 100);
// Passes until done() holds after one; false when maxMs of game time ran out. Only every drawEvery-th pass draws
// its frame, for long stretches of road: the game moves on in its steps alone, the level flow waits for a frame.
bool playUntil(const std::function<bool()>& done, uint32_t maxMs, uint32_t msEach = 100, int drawEvery = 1);

// Input, each handled at once at the scripted time: a character key as typed (a capital letter with Shift held),
// a special key by its windowing-library code (GLUT_KEY_HOME, GLUT_KEY_F1 ...), a mouse button by its
// windowing-library number (GLUT_LEFT_BUTTON ...).
void pressKey(unsigned char key);
void releaseKey(unsigned char key);
void tapKey(unsigned char key);
void tapSpecialKey(int key);
void pressButton(int button);
void releaseButton(int button);

// The keyboard focus, as a window manager moves it: to another window of the desktop, and back to the game.
void focusElsewhere();
void focusGame();

// The last frame's colour, in the overlay's space: the design size, y downward.
Pixel framePixel(int x, int y);

// Everything the game printed since the previous call.
std::string gameOutput();
