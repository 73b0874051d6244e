#pragma once
// The vehicle is a camera rig: these move and turn the camera, and run the
// drive logic of one step of game time (speed levels, boost, wheel spin,
// turning) on the held controls, choosing the engine loop as they go.
#include "assets/vec3.h"
#include "audio/sounds.h"

// Speeds are whole-number levels 0..120; steps and distances are derived from
// the speeds at the start of each step (level x frameDt and level x frameDt^2).
struct DriveState {
    float forwardStep;
    float reverseStep;
    float forwardSpeed;
    float reverseSpeed;
    float forwardDistance;
    float reverseDistance;
};

extern DriveState drive;
// The engine loop the drive logic chose last; none until it first chooses.
extern EngineSound engineSound;

void moveBy(Vec3 delta);
void turn(float degrees);
void stepBack(float distance);  // negative distance moves forward
// The step's travel from the speeds as they stand, frameDt in units of 100 ms.
void setTravel(double frameDt);
void updateDrive(float frameDt);
void resetDriveState();
