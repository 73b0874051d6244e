#pragma once
// The world's extents in world units, y up. The road runs along -z down the
// middle of a square ground plane; everything else lies inside the sky box.
// The asset generator (tools/) reads these numbers from this file, so the road
// it paints on the ground pictures lies where the game drives.
//
// The road is kRoadHalfWidth either side of x = 0, and leaving it ends the
// game. The camera starts each level at kStartZ, near the road's +z end, and
// wins at kFinishLineZ, near the other. The ground plane reaches
// kGroundHalfSize from the origin both ways, and its picture shows the strip
// |x| < kRoadStripHalfWidth finely; the car is kept a little inside the plane,
// within kSideBound across and kLengthBound along. The sky's walls stand
// kSkyReach from its centre, twice as far as the plane's edge.

const float kRoadHalfWidth = 250.0f;
const float kFinishLineZ = -4850.0f;
const float kStartZ = 4970.0f;
const float kGroundHalfSize = 5000.0f;
const float kRoadStripHalfWidth = 400.0f;
const float kSideBound = 4975.0f;
const float kLengthBound = 4985.0f;
const float kSkyReach = 10000.0f;
