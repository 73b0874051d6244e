#pragma once
// The pose a frame draws. Game time moves in steps of 16 ms; a frame that falls
// between two steps draws the camera, the car and the sky blended between them,
// so motion looks even at any refresh rate.
#include "player/player.h"

struct FramePose {
    Pose car;  // the camera and the car
    float skyCentreX;
    float skyCentreZ;
};

// Called at the start of every step, and where a level starts afresh: the pose
// the next blend starts from.
void rememberStepPose();
// The blend of the pose remembered and the pose now (fraction 0 is the first, 1 the latest).
FramePose drawnPose(float fraction);
