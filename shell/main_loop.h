#pragma once
// One pass of the main loop, between the windowing library's events: what the
// window system said of the game's window, the sound service, the steps of game
// time due, and a request for the frame they call for.
//
// Auto-pause: while the window is hidden or iconified, or has lost the
// keyboard focus, game time stands still, every sound is held and the overlay
// says PAUSED; back in view and focus, play goes on from where it stopped. The
// keys and buttons held when the focus leaves are let go whether or not the
// game pauses: their releases go to another window.

// The idle callback.
void onIdle();

// Whether the window going away pauses the game (the default) or not.
void setAutoPause(bool on);
bool gamePaused();
