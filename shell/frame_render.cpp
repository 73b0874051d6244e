// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "shell/frame_render.h"
int32_t fpsFrameCount;
float fpsLastTimeMs;
int32_t framesPerSecond;
void onDisplay() {}
void onReshape(int, int) {}
void applyCamera() {}
