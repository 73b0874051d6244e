#pragma once
// Drawing one frame, the camera, the road-limit tests and the frame-rate count.
#include <cstdint>

extern int32_t fpsFrameCount;
extern uint32_t fpsLastTimeMs;  // tick of the last measurement
extern int32_t framesPerSecond;  // 0 until the first measurement

void onDisplay();
void onReshape(int width, int height);
void applyCamera();
