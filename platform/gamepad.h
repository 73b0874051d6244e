#pragma once
// Game controllers through SDL2's GameController API, for driving without the
// keyboard. Pads may be plugged in and pulled out at any time; the game asks
// once a pass what all of them hold together. No window is needed.
//
// Promises the game relies on:
// - a stick must pass a dead zone of 8000 (of 32767) to steer, and a trigger
//   one of 10922 (a third of its travel) to drive; each then holds until it
//   comes back within 6000 or 8192, so a stick resting near the edge does not
//   chatter;
// - a pad pulled out while held lets go of everything it held at once;
// - SDL does not take Ctrl-C or SIGTERM, and pads are read although the game's
//   window is not SDL's;
// - all calls come from the main-loop thread.

struct PadState {
    bool steerLeft;   // left stick or D-pad to the left
    bool steerRight;  // left stick or D-pad to the right
    bool accelerate;  // right trigger, as the forward key
    bool brake;       // left trigger: brake, then reverse, as the backward key
    bool boost;       // right shoulder, as the right mouse button
    bool fire;        // A, as space
    bool start;
    bool back;
};

// Opens SDL's controller support; the pads already plugged in are opened by
// the first readGamepads. False, quietly, where SDL has no joystick support:
// the game then plays by keys alone. Opening again while open does nothing.
bool openGamepads();

// Pumps SDL's events, which opens the pads plugged in and closes those pulled
// out since the last call, and returns what the open pads hold together.
// Nothing is held before openGamepads or after closeGamepads.
PadState readGamepads();

// Closes every pad and SDL's controller support.
void closeGamepads();
