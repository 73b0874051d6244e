#include "shell/frame_update.h"

#include <GL/freeglut.h>

#include "audio/sounds.h"
#include "platform/tick_counter.h"
#include "player/vehicle_motion.h"
#include "shell/game_flow.h"
#include "shell/input.h"

DriveState drive;

namespace {

const double kTicksToFrameDt = 0.01;  // frameDt counts in units of 100 ms

// Milliseconds since the previous pass. Taken modulo 2^32, so the tick
// counter's wrap-around gives the true short interval, not a negative one.
double measureFrameDt(uint32_t nowTick) {
    uint32_t elapsed = nowTick - uint32_t(lastTickMs);
    lastTickMs = nowTick;
    return double(int64_t(elapsed)) * kTicksToFrameDt;
}

void setTravel(double frameDt) {
    drive.forwardStep = float(drive.forwardSpeed * frameDt);
    drive.forwardDistance = float(drive.forwardSpeed * frameDt * frameDt);
    drive.reverseStep = float(drive.reverseSpeed * frameDt);
    drive.reverseDistance = float(drive.reverseSpeed * frameDt * frameDt);
}

}  // namespace

void runDrivePass(uint32_t nowTick) {
    double frameDt = measureFrameDt(nowTick);
    setTravel(frameDt);
    updateDrive(float(frameDt));
}

void onIdle() {
    endInputPass();
    updateAudio();
    runDrivePass(getTickCount());
    glutPostRedisplay();
}
