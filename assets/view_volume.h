#pragma once
// What can change a pixel of the frame being drawn. A thing wholly outside the
// view, behind the camera included, or so deep in the fog that less than 1/255
// of its colour would remain, is not drawn at all: level 3 lays out up to 300
// mushrooms, few of which any frame can show, and the terrain lies behind the
// car for half of every level.
#include "assets/vec3.h"

struct ViewVolume {
    float sides[6][4];         // planes a x + b y + c z + d, at least 0 inside the view, (a, b, c) of length 1
    float depthRow[4];         // the eye's depth of world point (x, y, z): a x + b y + c z + d
    float fogHidingDepth;      // beyond this depth fog hides everything; infinite without exponential fog
    float pixelsPerUnitDepth;  // a length across the view at depth d spans this / d pixels of the viewport
};

// The view as the GL state stands: projection, viewport and modelview (the
// camera of the pose being drawn), with the fog as it is switched.
ViewVolume viewVolumeNow();

// Whether any of a ball can show.
bool ballCanShow(const ViewVolume& view, const Vec3& centre, float radius);
// The depth of a ball's nearest point in front of the eye.
float nearestDepth(const ViewVolume& view, const Vec3& centre, float radius);
