#pragma once
// The one player record: meters, camera rig, vehicle point and drawing state.
#include <cstdint>
#include "assets/vec3.h"

struct ObjModel;

// The camera rig: the eye rides at a fixed height and the vehicle's reference
// point lies a fixed distance down the road (-z) from it, whatever the heading.
const float kCameraHeight = 17.0f;
const float kVehicleAhead = 30.0f;

struct Player {
    float lastSteerStep;     // signed travel of the last step with a turn key held
    int32_t health;          // 4 pixels of bar per point
    int32_t boostPoints;     // one point per boosted step
    int32_t ammo;            // laser charges, one icon each
    ObjModel* bodyModel;     // read at start-up, kept for the whole run
    ObjModel* leftWheelModel;
    ObjModel* rightWheelModel;
    int32_t pickupReach;     // added to every pickup's radius
    bool cameraPulledBack;   // eye 30 units further along +z
    float wheelAngle;        // degrees; only ever grows
    int32_t wheelSpin;       // -1 rolling forward, +1 backward, 0 before the first drive step
    float pitch;             // degrees
    float heading;           // degrees, positive = turned left
    float roll;              // degrees
    Vec3 viewDir;
    Vec3 rightDir;
    Vec3 upDir;
    Vec3 cameraPos;
    Vec3 vehiclePos;         // x = camera x, z = camera z - kVehicleAhead
};

extern Player player;

// Where the camera and the car stand in one frame. A frame that falls between
// two steps draws a blend of both steps' poses; drawing reads the pose it is
// handed and writes none.
struct Pose {
    Vec3 cameraPos;
    Vec3 viewDir;
    Vec3 vehiclePos;
    float heading;
    float wheelAngle;
    int32_t wheelSpin;
};

// The pose the latest step left.
Pose playerPose();

// Level start: the camera rig back on the road's near end, looking down the
// road, with the vehicle's point in front of it; the pickup test reads that
// point before the car is next drawn.
void putPlayerAtStart();
// Level 1's start: the meters as they are when the game starts.
void restoreStartMeters();
