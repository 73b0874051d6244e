#include "player/controls.h"

KeyState keys;
bool rightButtonDown;

namespace {

bool* const kFlags[] = {&keys.forward, &keys.left, &keys.backward, &keys.right, &rightButtonDown};
const int kControlCount = sizeof kFlags / sizeof kFlags[0];
unsigned heldBy[kControlCount];  // a bit for each holder
bool pressUnseenByStep[kControlCount];
bool releaseAfterStep[kControlCount];

unsigned bitOf(Holder holder) { return 1u << int(holder); }

}  // namespace

// A press after a release that waits for the step cancels that release: the control is held again.
void pressControl(Control control, Holder holder) {
    const int i = int(control);
    heldBy[i] |= bitOf(holder);
    *kFlags[i] = true;
    pressUnseenByStep[i] = true;
    releaseAfterStep[i] = false;
}

void releaseControl(Control control, Holder holder) {
    const int i = int(control);
    heldBy[i] &= ~bitOf(holder);
    if (heldBy[i] != 0) return;
    if (pressUnseenByStep[i]) {
        releaseAfterStep[i] = true;
    } else {
        *kFlags[i] = false;
    }
}

void releaseAllControls() {
    for (int i = 0; i < kControlCount; ++i) releaseControl(Control(i), Holder::hands);
}

void endStepForControls() {
    for (int i = 0; i < kControlCount; ++i) {
        if (releaseAfterStep[i]) *kFlags[i] = false;
        releaseAfterStep[i] = false;
        pressUnseenByStep[i] = false;
    }
}
