#include "player/player.h"

Player player = {
    0.0f,                  // lastSteerStep
    50,                    // health
    200,                   // boostPoints
    5,                     // ammo
    nullptr,               // skybox
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
    {0.0f, -0.4f, -1.0f},  // viewDir
    {1.0f, 0.0f, 0.0f},    // rightDir
    {0.0f, 1.0f, 0.0f},    // upDir
    {0.0f, 17.0f, 4970.0f},  // cameraPos
    {0.0f, 5.0f, -30.0f},  // vehiclePos
};
