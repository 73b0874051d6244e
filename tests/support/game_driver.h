#pragma once
// The real game in this test process, started as a player starts it, with a real GL context on the test X display and
// the scripted clock: input goes in as X events to its window, which the windowing library hands to its callbacks.
#include <cstdint>
#include <functional>
#include <string>

#include "shell/settings.h"
#include "tests/support/gl_context.h"

// Starts the game once per process, with the settings given (the defaults unless the process's first call gives
// others), its window shrunk to a quarter of the design size (quick frames) and in focus.
void startDrivenGame(const Settings& settings = Settings());

// Gives the game's window another size, as its player may, once the game is started.
void resizeGameWindow(int width, int height);

// One pass of the main loop ms of scripted time after the last: the registered idle callback, then, when drawn, the
// window's events and the frame they ask for.
void playPass(uint32_t ms, bool draw = true);
void playFrames(int count, uint32_t msEach = 100);
// Passes until done() holds after one; false when maxMs of game time ran out. Only every drawEvery-th pass draws: the
// game moves on in its steps alone, the level flow waits for a frame.
bool playUntil(const std::function<bool()>& done, uint32_t maxMs, uint32_t msEach = 100, int drawEvery = 1);

// Input, handled at once: a character as typed (a capital with Shift held), a special key (GLUT_KEY_HOME or an F key)
// or a mouse button (GLUT_LEFT_BUTTON ...) by its windowing-library code.
void pressKey(unsigned char key);
void releaseKey(unsigned char key);
void tapKey(unsigned char key);
void tapSpecialKey(int key);
void pressButton(int button);
void releaseButton(int button);

// The keyboard focus, as a window manager moves it: to another window, to one inside the game's, and back to the game.
void focusElsewhere();
void focusInsideGame();
void focusGame();

// The last frame's colour, in the overlay's space: the design size, y downward.
Pixel framePixel(int x, int y);
// Everything the game printed since the previous call.
std::string gameOutput();
