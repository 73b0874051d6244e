#pragma once
// Drawing one frame, the camera, the road-limit tests and the frame-rate count.
#include <cstdint>

extern int32_t fpsFrameCount;
extern float fpsLastTimeMs;
extern int32_t framesPerSecond;  // 0 until the first measurement

void onDisplay();
void onReshape(int width, int height);
void applyCamera();
