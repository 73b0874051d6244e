#include "platform/gamepad.h"

#include <SDL.h>

#include <vector>

namespace {

// SDL's suggested dead zone for sticks, of 32767 either way.
const int kStickPress = 8000;
const int kStickRelease = 6000;
// Triggers read from 0 (at rest) to 32767.
const int kTriggerPress = 10922;
const int kTriggerRelease = 8192;

// Each pad remembers which of its sticks and triggers were past their zones,
// for the hysteresis.
struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
    bool stickLeft;
    bool stickRight;
    bool rightTrigger;
    bool leftTrigger;
};

bool opened;
std::vector<Pad> pads;

// Plugged in before SDL was opened or since: SDL announces each pad once,
// either way.
void openPad(int deviceIndex) {
    if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
        pads.push_back({controller, SDL_JoystickGetDeviceInstanceID(deviceIndex), false, false, false, false});
}

void closePad(SDL_JoystickID id) {
    for (auto pad = pads.begin(); pad != pads.end(); ++pad) {
        if (pad->id != id) continue;
        SDL_GameControllerClose(pad->controller);
        pads.erase(pad);
        return;
    }
}

// The game reads no other SDL events; the rest are dropped so that stick
// motion does not pile up in SDL's queue.
void pumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) openPad(event.cdevice.which);
        if (event.type == SDL_CONTROLLERDEVICEREMOVED) closePad(event.cdevice.which);
    }
}

// Past the press zone it holds; it lets go only within the release zone.
bool heldPast(int value, int press, int release, bool wasHeld) {
    return value > (wasHeld ? release : press);
}

bool button(const Pad& pad, SDL_GameControllerButton which) {
    return SDL_GameControllerGetButton(pad.controller, which) != 0;
}

int axis(const Pad& pad, SDL_GameControllerAxis which) {
    return SDL_GameControllerGetAxis(pad.controller, which);
}

PadState readPad(Pad& pad) {
    const int stickX = axis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickLeft = heldPast(-stickX, kStickPress, kStickRelease, pad.stickLeft);
    pad.stickRight = heldPast(stickX, kStickPress, kStickRelease, pad.stickRight);
    pad.rightTrigger = heldPast(axis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT), kTriggerPress, kTriggerRelease,
                                pad.rightTrigger);
    pad.leftTrigger = heldPast(axis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT), kTriggerPress, kTriggerRelease,
                               pad.leftTrigger);
    PadState state;
    state.steerLeft = pad.stickLeft || button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    state.steerRight = pad.stickRight || button(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    state.accelerate = pad.rightTrigger;
    state.brake = pad.leftTrigger;
    state.boost = button(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    state.fire = button(pad, SDL_CONTROLLER_BUTTON_A);
    state.start = button(pad, SDL_CONTROLLER_BUTTON_START);
    state.back = button(pad, SDL_CONTROLLER_BUTTON_BACK);
    return state;
}

void addHeld(PadState* all, const PadState& pad) {
    all->steerLeft |= pad.steerLeft;
    all->steerRight |= pad.steerRight;
    all->accelerate |= pad.accelerate;
    all->brake |= pad.brake;
    all->boost |= pad.boost;
    all->fire |= pad.fire;
    all->start |= pad.start;
    all->back |= pad.back;
}

}  // namespace

bool openGamepads() {
    if (opened) return true;
    // SDL's event queue would otherwise turn Ctrl-C and SIGTERM into quit
    // events that the game never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The game's window is not SDL's, so SDL would take the game to be in the
    // background and hold the pads' input back.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    opened = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return opened;
}

PadState readGamepads() {
    PadState all{};
    if (!opened) return all;
    pumpEvents();
    for (Pad& pad : pads) addHeld(&all, readPad(pad));
    return all;
}

void closeGamepads() {
    if (!opened) return;
    for (const Pad& pad : pads) SDL_GameControllerClose(pad.controller);
    pads.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    opened = false;
}
