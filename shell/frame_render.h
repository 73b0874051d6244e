#pragma once
// Drawing one frame: the level flow's move, the scene from the drawn pose
// unless a full-window picture covers it, the overlay; and the frame-rate count.
#include <cstdint>

extern int32_t fpsFrameCount;
extern uint32_t fpsLastTimeMs;  // tick of the last measurement
extern int32_t framesPerSecond;  // 0 until the first measurement

// The display callback.
void onDisplay();
// The reshape callback: the viewport and the window's perspective.
void onReshape(int width, int height);
