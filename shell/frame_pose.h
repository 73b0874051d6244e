#pragma once
// The pose a frame draws. Game time moves in steps of 16 ms; a frame that falls
// between two steps draws the camera, the vehicle and the sky blended between
// them, so motion looks even at any refresh rate.

// Called at the start of every step: the pose the next blend starts from.
void rememberStepPose();

// Puts the blend of the last two steps' poses into the player and the sky for
// drawing (fraction 0 is the earlier step, 1 the latest), until restoreStepPose.
void showDrawnPose(float fraction);
void restoreStepPose();
