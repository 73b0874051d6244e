// A gamepad plugged into the running game, as SDL's virtual joystick: each control does what its key does, Start is
// Home on a banner and the pause in play, a pad pulled out lets go of what it held, and the right trigger alone
// drives level 1 to its end.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "assets/render_options.h"
#include "player/controls.h"
#include "player/player.h"
#include "shell/game_flow.h"
#include "shell/pause.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"

namespace {

// A pad of the game-controller type: SDL maps its buttons and axes in its own controller order.
SDL_Joystick* plugIn() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&pad));
}

void pullOut(SDL_Joystick* pad) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad)) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(pad);
}

// A trigger's full pull, or a stick's full tilt either way; SDL reads a trigger from the pad's whole range.
void pull(SDL_Joystick* pad, SDL_GameControllerAxis axis, int direction) {
    const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    SDL_JoystickSetVirtualAxis(pad, axis, Sint16(trigger && direction == 0 ? -32768 : direction * 32767));
    playFrames(2, 16);
}

void push(SDL_Joystick* pad, SDL_GameControllerButton button) {
    for (Uint8 down : {1, 0}) SDL_JoystickSetVirtualButton(pad, button, down), playFrames(2, 16);
}

class Pad : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0); }
};

}  // namespace

TEST_F(Pad, EachControlDoesWhatItsKeyDoes) {
    startDrivenGame();
    SDL_Joystick* pad = plugIn();
    playFrames(2, 16);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_FALSE(levelIntroVisible) << "Start on the banner is Home";
    const struct { SDL_GameControllerAxis axis; int direction; const bool* flag; } axes[] = {
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1, &keys.forward}, {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 1, &keys.backward},
        {SDL_CONTROLLER_AXIS_LEFTX, -1, &keys.left}, {SDL_CONTROLLER_AXIS_LEFTX, 1, &keys.right}};
    for (const auto& axis : axes) {
        pull(pad, axis.axis, axis.direction);
        EXPECT_TRUE(*axis.flag) << "axis " << axis.axis << " held";
        pull(pad, axis.axis, 0);
        EXPECT_FALSE(*axis.flag) << "axis " << axis.axis << " let go";
    }
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1);
    playFrames(2, 16);
    EXPECT_TRUE(rightButtonDown) << "the right shoulder boosts";
    const int32_t ammo = player.ammo;
    gameOutput();
    push(pad, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(player.ammo, ammo - 1);
    EXPECT_EQ(gameOutput(), "IMA CHARGIN MAH LAZERS!\n");
    push(pad, SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_TRUE(renderOptions.helpVisible) << "Back is F1";
    push(pad, SDL_CONTROLLER_BUTTON_BACK);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(gamePaused()) << "Start in play pauses";
    push(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(gamePaused());
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    playFrames(2, 16);
    pullOut(pad);
    playFrames(2, 16);
    EXPECT_FALSE(keys.forward || rightButtonDown) << "a pad pulled out lets go";
}

TEST_F(Pad, TheRightTriggerAloneDrivesLevelOneToItsEnd) {
    startDrivenGame();
    levelNumber = 1;
    levelIntroVisible = true;
    SDL_Joystick* pad = plugIn();
    playFrames(2, 16);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    pull(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1);
    EXPECT_TRUE(playUntil([] { return levelIntroVisible; }, 90000, 250, 8));
    EXPECT_EQ(levelNumber, 2);
    pullOut(pad);
}
