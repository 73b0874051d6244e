#pragma once
// One pass of the main loop: sound service, time step, drive logic, redraw request.
#include <cstdint>

// Speeds are whole-number levels 0..120; steps and distances are derived from
// the speeds at the start of each pass (level x frameDt and level x frameDt^2).
struct DriveState {
    float forwardStep;
    float reverseStep;
    float forwardSpeed;
    float reverseSpeed;
    float forwardDistance;
    float reverseDistance;
};

extern DriveState drive;

// The idle callback.
void onIdle();

// The pass without the sound service and the redraw: time step since lastTickMs
// up to nowTick, this pass's travel fields, and the drive logic.
void runDrivePass(uint32_t nowTick);
