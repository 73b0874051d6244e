#pragma once
// One pass of the main loop, between the windowing library's events: what the
// window system said of the game's window, the sound service, the steps of game
// time due, the gamepads, and a request for the frame they call for.

// The idle callback.
void onIdle();
