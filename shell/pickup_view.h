#pragma once
// Which pickups can change a pixel of the frame being drawn. A pickup wholly
// outside the view, behind the camera included, or so deep in the fog that
// less than 1/255 of its colour would remain, is not drawn at all: level 3 lays
// out up to 300 mushrooms, few of which any frame can show.
#include "player/pickups.h"

struct PickupView {
    float sides[6][4];     // planes a x + b y + c z + d, at least 0 inside the view, (a, b, c) of length 1
    float depthRow[4];     // the eye's depth of world point (x, y, z): a x + b y + c z + d
    float fogHidingDepth;  // beyond this depth fog hides everything; infinite without exponential fog
};

// The view as the GL state stands: projection, modelview (the camera of the
// pose being drawn) and fog.
PickupView pickupViewNow();

bool pickupCanShow(const PickupView& view, const Pickup& pickup);
