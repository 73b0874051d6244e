#include "player/vehicle_motion.h"

#include <algorithm>
#include <cmath>

#include "player/controls.h"
#include "player/player.h"
#include "player/world_extents.h"

DriveState drive;
EngineSound engineSound = EngineSound::none;

namespace {

const float kTopSpeed = 120.0f;
const float kBoostDistance = 5.0f;     // extra units of a boosted step
const float kWheelSpinCap = 6.0f;      // degrees per step
const float kTurnRate = 2.0f;          // degrees per unit of frameDt
const double kDegreesToRadians = 0.017453292519943295;

void chooseEngineSound(EngineSound sound) {
    engineSound = sound;
    selectEngineSound(sound);
}

// Wheels turn by whole degrees, at most kWheelSpinCap a step.
void spinWheels(float step) {
    player.wheelAngle += std::trunc(std::min(step, kWheelSpinCap));
}

void rollForward() {
    player.wheelSpin = -1;
    spinWheels(drive.forwardStep);
    stepBack(-drive.forwardDistance);
}

void rollBackward() {
    player.wheelSpin = +1;
    spinWheels(drive.reverseStep);
    stepBack(drive.reverseDistance);
}

void accelerateForward() {
    player.wheelSpin = -1;
    spinWheels(drive.forwardStep);
    if (rightButtonDown && player.boostPoints > 0) {
        stepBack(-drive.forwardDistance - kBoostDistance);
        player.boostPoints -= 1;
    } else {
        stepBack(-drive.forwardDistance);
    }
    if (drive.forwardSpeed < kTopSpeed) {
        chooseEngineSound(EngineSound::accelerating);
        drive.forwardSpeed += 1;
    } else {
        chooseEngineSound(EngineSound::topSpeed);
    }
}

void driveForwardKey() {
    if (drive.reverseSpeed > 0) {
        // Still rolling backward: this step brakes, the engine keeps its loop.
        rollBackward();
        drive.reverseSpeed -= 1;
    } else {
        accelerateForward();
    }
}

void driveBackwardKey() {
    if (drive.forwardSpeed > 0) {
        rollForward();
        drive.forwardSpeed -= 1;
    } else {
        rollBackward();
        if (drive.reverseSpeed < kTopSpeed) drive.reverseSpeed += 1;
    }
    chooseEngineSound(EngineSound::idle);
}

// Both pedals: the faster direction slows by one, without wheel spin.
void driveBothKeys() {
    if (drive.forwardSpeed > drive.reverseSpeed) {
        stepBack(-drive.forwardDistance);
        drive.forwardSpeed -= 1;
        chooseEngineSound(EngineSound::idle);
    }
    if (drive.reverseSpeed > drive.forwardSpeed) {
        stepBack(drive.reverseDistance);
        drive.reverseSpeed -= 1;
        chooseEngineSound(EngineSound::idle);
    }
}

void steer(float frameDt) {
    if (keys.left) {
        player.lastSteerStep = drive.forwardDistance;
        turn(kTurnRate * frameDt);
    }
    if (keys.right) {
        player.lastSteerStep = -drive.forwardDistance;
        turn(-kTurnRate * frameDt);
    }
}

void coast() {
    if (drive.forwardSpeed > 0 && !keys.forward) {
        rollForward();
        drive.forwardSpeed -= 1;
        chooseEngineSound(EngineSound::idle);
    }
    if (drive.reverseSpeed > 0 && !keys.backward) {
        rollBackward();
        drive.reverseSpeed -= 1;
        chooseEngineSound(EngineSound::idle);
    }
}

}  // namespace

void moveBy(Vec3 delta) {
    player.cameraPos = add(player.cameraPos, delta);
    player.vehiclePos = {player.cameraPos.x, 0.0f, player.cameraPos.z - kVehicleAhead};
}

void turn(float degrees) {
    player.heading += degrees;
    double theta = degrees * kDegreesToRadians;
    float c = float(std::cos(theta));
    float s = float(std::sin(theta));
    player.viewDir = normalize(sub(scale(player.viewDir, c), scale(player.rightDir, s)));
    player.rightDir = cross(player.viewDir, player.upDir);
}

void stepBack(float distance) {
    Vec3 ahead = add(player.vehiclePos, scale(player.viewDir, -distance));
    if (!(std::fabs(ahead.z) < kLengthBound)) return;
    Vec3 side = add(player.vehiclePos, scale(player.rightDir, distance));
    if (!(std::fabs(side.x) < kSideBound)) return;

    player.cameraPos = add(player.cameraPos, scale(player.viewDir, -distance));
    player.vehiclePos.x = player.cameraPos.x;
    player.vehiclePos.z = player.cameraPos.z - kVehicleAhead;
    player.cameraPos.y = kCameraHeight;
}

void setTravel(double frameDt) {
    drive.forwardStep = float(drive.forwardSpeed * frameDt);
    drive.forwardDistance = float(drive.forwardSpeed * frameDt * frameDt);
    drive.reverseStep = float(drive.reverseSpeed * frameDt);
    drive.reverseDistance = float(drive.reverseSpeed * frameDt * frameDt);
}

void updateDrive(float frameDt) {
    if (keys.forward && !keys.backward) driveForwardKey();
    if (keys.backward && !keys.forward) driveBackwardKey();
    if (keys.forward && keys.backward) driveBothKeys();
    steer(frameDt);
    coast();
}

void resetDriveState() {
    drive = DriveState{};
}
