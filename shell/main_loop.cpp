#include "shell/main_loop.h"

#include <GL/freeglut.h>

#include <chrono>
#include <thread>

#include "audio/sounds.h"
#include "platform/window_watch.h"
#include "shell/frame_update.h"
#include "shell/input.h"

namespace {

// A paused game draws its frames this far apart, leaving the machine to the
// windows the player went to.
const auto kPausedPass = std::chrono::milliseconds(20);

bool autoPause = true;
bool paused;

void pause(bool on) {
    paused = on;
    holdGameTime(on);
    holdAllSound(on);
}

void followTheWindow() {
    const WindowNews news = readWindowNews();
    const bool away = !news.focused || !news.shown;
    if (news.focusLost || (away && !paused && autoPause)) releaseHeldInput();
    if (autoPause && away != paused) pause(away);
}

}  // namespace

void onIdle() {
    followTheWindow();
    updateAudio();
    catchUpGameTime();
    if (paused) std::this_thread::sleep_for(kPausedPass);
    glutPostRedisplay();
}

void setAutoPause(bool on) {
    autoPause = on;
    if (!on && paused) pause(false);
}

bool gamePaused() { return paused; }
