#pragma once
// Game time: each pass of the main loop measures real time and runs as many
// fixed steps of game time as it calls for, so the same input gives the same
// game at every frame rate.
#include <cstdint>

// One step of game time is 16 ms: frameDt 0.16 in units of 100 ms.
const uint32_t kStepMs = 16;
const double kStepDt = 0.16;
// A pass runs at most this much game time: after a stall (a window drag, a
// suspend, loading the sounds) game time falls behind rather than jumping.
const uint32_t kMaxPassMs = 250;

extern uint32_t lastTickMs;      // tick of the previous pass
extern uint32_t unsteppedMs;     // real time measured but not yet stepped, below kStepMs

// Runs every whole step due at nowTick and keeps the remainder for the next pass.
void advanceGameTime(uint32_t nowTick);
// While game time is held (the game is paused) the time that passes is thrown
// away, never caught up: play goes on from where it stopped.
void holdGameTime(bool held);
// The same at the tick counter's now. Input calls it before it changes anything,
// so that a key takes effect at the step it arrived in, whatever the frame rate.
void catchUpGameTime();

// One step: the drive logic on the controls held, the sky after the camera, then
// the road limits and the pickup test, so nothing the vehicle passes is skipped
// at any frame rate.
void runGameStep();

// Where game time stands between the last step and the next, 0 to 1.
float stepFraction();
