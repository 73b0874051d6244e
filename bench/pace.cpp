// The drive logic at 5 to 240 frames a second under a scripted clock: one
// scripted drive, and the game time to the finish line with 'w' held from the
// level start. Every rate should print the same figures.
#include <GL/freeglut.h>

#include <cstdio>
#include <initializer_list>

#include "player/controls.h"
#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/skybox.h"

namespace {

uint32_t scriptedNowMs;
const uint32_t kClockStartMs = 1000;
const Player startingPlayer = player;

void pressRightButton() { onMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0); }
void releaseRightButton() { onMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0); }
void press(unsigned char key) { onKeyDown(key, 0, 0); }
void release(unsigned char key) { onKeyUp(key, 0, 0); }

// Accelerate 10 s with the boost for the first 2 s, steer left 1 s and right
// 2 s with the pedal down, brake to a standstill and reverse for about 2 s.
struct ScriptEvent {
    uint32_t ms;
    void (*act)();
};
const ScriptEvent kDrive[] = {
    {0, [] { press('w'); pressRightButton(); }},
    {2000, [] { releaseRightButton(); }},
    {10000, [] { press('a'); }},
    {11000, [] { release('a'); press('d'); }},
    {13000, [] { release('d'); release('w'); press('s'); }},
    {16000, [] { release('s'); }},
};
const uint32_t kDriveEndMs = 18000;

void startLevelOne() {
    player = startingPlayer;
    sky = Skybox{};
    drive = DriveState{};
    keys = KeyState{};
    scriptedNowMs = lastTickMs = kClockStartMs;
    unsteppedMs = 0;
}

// Passes of the main loop at the given rate up to the script time endMs;
// each script event is handed to the game in the first pass at or after it.
void runFrames(int rate, uint32_t endMs, const ScriptEvent* events, size_t eventCount) {
    size_t next = 0;
    for (long frame = 0;; ++frame) {
        uint32_t t = uint32_t(frame * 1000 / rate);
        if (t > endMs) break;
        scriptedNowMs = kClockStartMs + t;
        while (next < eventCount && events[next].ms <= t) events[next++].act();
        catchUpGameTime();
    }
}

// Game time in seconds from the level start to the first frame that sees the
// finish line crossed, 'w' held; the road tests themselves run every step.
double finishTime(int rate) {
    startLevelOne();
    levelComplete = false;
    press('w');
    long frame = 0;
    while (!levelComplete && frame < 100000) {
        scriptedNowMs = kClockStartMs + uint32_t(++frame * 1000 / rate);
        catchUpGameTime();
    }
    release('w');
    return (scriptedNowMs - kClockStartMs - unsteppedMs) / 1000.0;
}

}  // namespace

uint32_t getTickCount() { return scriptedNowMs; }

int main() {
    printf("%5s %10s %10s %9s %6s %6s %6s %9s\n", "fps", "x", "z", "heading", "fwd", "rev", "boost",
           "finish s");
    for (int rate : {5, 15, 30, 60, 144, 240}) {
        startLevelOne();
        runFrames(rate, kDriveEndMs, kDrive, sizeof kDrive / sizeof kDrive[0]);
        Player end = player;
        DriveState endDrive = drive;
        double finish = finishTime(rate);
        printf("%5d %10.2f %10.2f %9.3f %6.0f %6.0f %6d %9.3f\n", rate, end.cameraPos.x, end.cameraPos.z,
               end.heading, endDrive.forwardSpeed, endDrive.reverseSpeed, end.boostPoints, finish);
    }
    return 0;
}
