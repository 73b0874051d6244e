#pragma once
// Drawing one frame, the camera, the road-limit tests and the frame-rate count.
#include <cstdint>

// The window's design size: the overlay is laid out in it, the F8 view range
// keeps its shape whatever the window's, and a window opens at it where the
// screen's size is unknown.
const int kDesignWidth = 1420;
const int kDesignHeight = 800;

// The view range the window gives; F8 swaps in a short one and back.
const double kNearPlane = 0.5;
const double kFarPlane = 400000.0;

extern int32_t fpsFrameCount;
extern uint32_t fpsLastTimeMs;  // tick of the last measurement
extern int32_t framesPerSecond;  // 0 until the first measurement

struct ViewVolume;

void onDisplay();
// The terrain at the detail the view needs, if any of it can show.
void drawTerrain(const ViewVolume& view);
void onReshape(int width, int height);
// A 45-degree perspective of this aspect and range; the modelview matrix is current after.
void setProjection(double aspect, double nearPlane, double farPlane);
void applyCamera();
