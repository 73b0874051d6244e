#include "player/player.h"

#include "player/world_extents.h"

namespace {

constexpr int32_t kStartHealth = 50;
constexpr int32_t kStartBoostPoints = 200;
constexpr int32_t kStartAmmo = 5;

// On the road's near end, looking down the road and a little down; the view
// direction is not of unit length until the first turn.
constexpr Vec3 kStartCameraPos = {0.0f, kCameraHeight, kStartZ};
constexpr Vec3 kStartViewDir = {0.0f, -0.4f, -1.0f};
constexpr Vec3 kStartRightDir = {1.0f, 0.0f, 0.0f};
constexpr Vec3 kUpDir = {0.0f, 1.0f, 0.0f};
const float kVehicleHeight = 5.0f;  // the vehicle is drawn this high during play

}  // namespace

Player player = {
    0.0f,                  // lastSteerStep
    kStartHealth,          // health
    kStartBoostPoints,     // boostPoints
    kStartAmmo,            // ammo
    nullptr,               // bodyModel
    nullptr,               // leftWheelModel
    nullptr,               // rightWheelModel
    20,                    // pickupReach
    false,                 // cameraPulledBack
    0.0f,                  // wheelAngle
    0,                     // wheelSpin
    0.0f,                  // pitch
    0.0f,                  // heading
    0.0f,                  // roll
    kStartViewDir,         // viewDir
    kStartRightDir,        // rightDir
    kUpDir,                // upDir
    kStartCameraPos,       // cameraPos
    {0.0f, kVehicleHeight, -kVehicleAhead},  // vehiclePos, until start-up's first move
};

Pose playerPose() {
    return {player.cameraPos, player.viewDir, player.vehiclePos, player.heading, player.wheelAngle, player.wheelSpin};
}

void putPlayerAtStart() {
    player.viewDir = kStartViewDir;
    player.rightDir = kStartRightDir;
    player.upDir = kUpDir;
    player.cameraPos = kStartCameraPos;
    player.vehiclePos = {kStartCameraPos.x, kVehicleHeight, kStartCameraPos.z - kVehicleAhead};
    player.pitch = 0.0f;
    player.heading = 0.0f;
    player.roll = 0.0f;
}

void restoreStartMeters() {
    player.health = kStartHealth;
    player.boostPoints = kStartBoostPoints;
    player.ammo = kStartAmmo;
}
