#include "shell/pad_input.h"

#include "platform/gamepad.h"
#include "player/controls.h"
#include "player/weapon.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "shell/pause.h"

namespace {

bool padsOpen;
PadState lastPad;

void hold(Control control, bool held) {
    held ? pressControl(control, Holder::pad) : releaseControl(control, Holder::pad);
}

// On a picture Start is Home; in play it pauses and resumes.
void pressStart() {
    if (levelIntroVisible || gameOver) {
        requestLevelStart();
    } else {
        togglePlayerPause();
    }
}

}  // namespace

void startGamepads() { padsOpen = openGamepads(); }

void followGamepads() {
    if (!padsOpen) return;
    const PadState pad = readGamepads();
    hold(Control::left, pad.steerLeft);
    hold(Control::right, pad.steerRight);
    hold(Control::forward, pad.accelerate);
    hold(Control::backward, pad.brake);
    hold(Control::boost, pad.boost);
    if (pad.fire && !lastPad.fire) fireLaser();
    if (pad.back && !lastPad.back) toggleHelp();
    if (pad.start && !lastPad.start) pressStart();
    lastPad = pad;
}
