#include "shell/pause.h"

#include "audio/sounds.h"
#include "shell/frame_update.h"

namespace {

bool autoPause = true;
bool windowAway;
bool playerPaused;
bool paused;

void follow() {
    const bool now = (autoPause && windowAway) || playerPaused;
    if (now == paused) return;
    paused = now;
    holdGameTime(now);
    holdAllSound(now);
}

}  // namespace

void setAutoPause(bool on) {
    autoPause = on;
    follow();
}

void noteWindowAway(bool away) {
    windowAway = away;
    follow();
}

void togglePlayerPause() {
    playerPaused = !playerPaused;
    follow();
}

bool gamePaused() { return paused; }
