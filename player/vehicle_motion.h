#pragma once
// The vehicle is a camera rig: these move and turn the camera, run the per-frame
// drive logic (speed levels, boost, wheel spin, turning) and pick the engine loop.
#include "core/vec3.h"

// The engine loop the drive logic selected last; none until the first drive frame.
enum class EngineSound { none, idle, accelerating, topSpeed };
extern EngineSound engineSound;

void moveBy(Vec3 delta);
void turn(float degrees);
void stepBack(float distance);   // negative distance moves forward
void updateDrive(float frameDt);  // frameDt in units of 100 ms
void resetDriveState();
