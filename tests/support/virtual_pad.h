#pragma once
// A gamepad for tests: an SDL virtual joystick of the game-controller type, so SDL maps button n and axis n in its own
// controller order.
#include <SDL.h>

SDL_Joystick* plugInPad();
void pullOutPad(SDL_Joystick* pad);
