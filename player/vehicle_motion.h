#pragma once
// The vehicle is a camera rig: these move and turn the camera, run the per-frame
// drive logic (speed levels, boost, wheel spin, turning) and pick the engine loop.
#include "player/vec3.h"

void moveBy(Vec3 delta);
void turn(float degrees);
void stepBack(float distance);   // negative distance moves forward
void updateDrive(float frameDt);  // frameDt in units of 100 ms
void resetDriveState();
