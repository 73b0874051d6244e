#pragma once
// The game paused: game time stands still, every sound is held and the overlay
// says PAUSED; unpaused, play goes on from where it stopped, the time away
// thrown away. The window going away (hidden, iconified or without the keyboard
// focus) pauses it while auto-pause is on, and a gamepad's Start in play pauses
// and resumes it. No key pauses it.

// Whether the window going away pauses the game (the default) or not.
void setAutoPause(bool on);
// What the window system says of the window now.
void noteWindowAway(bool away);
void togglePlayerPause();
bool gamePaused();
