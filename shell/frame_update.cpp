#include "shell/frame_update.h"

#include <GL/freeglut.h>

#include <algorithm>

#include "audio/sounds.h"
#include "platform/tick_counter.h"
#include "platform/window_watch.h"
#include "player/pickups.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_pose.h"
#include "shell/game_flow.h"
#include "shell/input.h"

DriveState drive;
uint32_t lastTickMs;
uint32_t unsteppedMs;

namespace {

// The road is 500 units wide around x = 0 and ends at the finish line.
const float kRoadHalfWidth = 250.0f;
const float kFinishLineZ = -4850.0f;

void setTravel(double frameDt) {
    drive.forwardStep = float(drive.forwardSpeed * frameDt);
    drive.forwardDistance = float(drive.forwardSpeed * frameDt * frameDt);
    drive.reverseStep = float(drive.reverseSpeed * frameDt);
    drive.reverseDistance = float(drive.reverseSpeed * frameDt * frameDt);
}

void checkRoadLimits() {
    const Vec3& pos = player.cameraPos;
    if (pos.z <= kFinishLineZ) levelComplete = true;
    if (pos.x > kRoadHalfWidth || pos.x < -kRoadHalfWidth) gameOver = true;
}

}  // namespace

void runGameStep() {
    rememberStepPose();
    setTravel(kStepDt);
    updateDrive(float(kStepDt));
    releaseKeysTappedWithinStep();
    checkRoadLimits();
    collectPickups();
}

// The difference is taken modulo 2^32, so the tick counter's wrap-around
// gives the true short interval.
void advanceGameTime(uint32_t nowTick) {
    uint32_t elapsed = std::min(nowTick - lastTickMs, kMaxPassMs);
    lastTickMs = nowTick;
    unsteppedMs += elapsed;
    for (; unsteppedMs >= kStepMs; unsteppedMs -= kStepMs) runGameStep();
}

void catchUpGameTime() {
    advanceGameTime(getTickCount());
}

float stepFraction() {
    return float(unsteppedMs) / float(kStepMs);
}

void onIdle() {
    if (readWindowNews().focusLost) releaseHeldInput();
    updateAudio();
    catchUpGameTime();
    glutPostRedisplay();
}
