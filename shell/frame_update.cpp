#include "shell/frame_update.h"

#include <algorithm>

#include "platform/tick_counter.h"
#include "player/controls.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "player/world_extents.h"
#include "shell/frame_pose.h"
#include "shell/game_flow.h"
#include "world/levels.h"
#include "world/skybox.h"

uint32_t lastTickMs;
uint32_t unsteppedMs;

namespace {

bool gameTimeHeld;

// The sky travels with the camera over the ground.
void driveWithTheSky() {
    const Vec3 before = player.cameraPos;
    setTravel(kStepDt);
    updateDrive(float(kStepDt));
    moveSkyBy(player.cameraPos.x - before.x, player.cameraPos.z - before.z);
}

void checkRoadLimits() {
    const Vec3& pos = player.cameraPos;
    if (pos.z <= kFinishLineZ) levelComplete = true;
    if (pos.x > kRoadHalfWidth || pos.x < -kRoadHalfWidth) gameOver = true;
}

// Nothing is taken while a level banner is up: a death there would be wiped out
// by the banner's level start, which clears gameOver and keeps the meters.
void takePickups() {
    if (levelIntroVisible) return;
    if (collectPickups(level.pickups, level.pickupCount)) gameOver = true;
}

}  // namespace

void runGameStep() {
    rememberStepPose();
    driveWithTheSky();
    countStepOfPlay(kStepMs);
    endStepForControls();
    checkRoadLimits();
    takePickups();
}

// The difference is taken modulo 2^32, so the tick counter's wrap-around
// gives the true short interval.
void advanceGameTime(uint32_t nowTick) {
    uint32_t elapsed = std::min(nowTick - lastTickMs, kMaxPassMs);
    lastTickMs = nowTick;
    if (gameTimeHeld) return;
    unsteppedMs += elapsed;
    for (; unsteppedMs >= kStepMs; unsteppedMs -= kStepMs) runGameStep();
}

void holdGameTime(bool held) {
    gameTimeHeld = held;
}

void catchUpGameTime() {
    advanceGameTime(getTickCount());
}

float stepFraction() {
    return float(unsteppedMs) / float(kStepMs);
}
