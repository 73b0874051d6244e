#pragma once
// The projection and the camera the 3D scene is drawn with.
#include "assets/vec3.h"

// The window's design size: the overlay is laid out in it, the F8 view range
// keeps its shape whatever the window's, and a window opens at it by default.
const int kDesignWidth = 1420;
const int kDesignHeight = 800;

// The view range a window gives; F8 swaps in a short one and back.
const double kNearPlane = 0.5;
const double kFarPlane = 400000.0;

// A 45-degree perspective of this aspect and range; the modelview matrix is current after.
void setProjection(double aspect, double nearPlane, double farPlane);

// Multiplies the modelview matrix by the view from eye along viewDir, upright by
// up; pulled back, the eye sits 30 units further along +z, looking at the same point.
void applyCamera(const Vec3& eye, const Vec3& viewDir, const Vec3& up, bool pulledBack);
