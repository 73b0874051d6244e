#include "tests/support/virtual_pad.h"

SDL_Joystick* plugInPad() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX, pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&pad));
}

void pullOutPad(SDL_Joystick* pad) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad)) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(pad);
}
