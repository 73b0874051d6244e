#include "shell/main_loop.h"

#include <GL/freeglut.h>

#include <chrono>
#include <thread>

#include "audio/sounds.h"
#include "platform/window_watch.h"
#include "shell/frame_update.h"
#include "shell/input.h"
#include "shell/pad_input.h"
#include "shell/pause.h"

namespace {

// A paused game draws its frames this far apart, leaving the machine to the
// windows the player went to.
const auto kPausedPass = std::chrono::milliseconds(20);

// The keys and buttons held when the window goes away are let go whether or not
// the game pauses: their releases go to another window.
void followTheWindow() {
    const WindowNews news = readWindowNews();
    if (news.focusLost || !news.shown) releaseHeldInput();
    noteWindowAway(!news.focused || !news.shown);
}

}  // namespace

void onIdle() {
    followTheWindow();
    updateAudio();
    catchUpGameTime();
    followGamepads();
    if (gamePaused()) std::this_thread::sleep_for(kPausedPass);
    glutPostRedisplay();
}
