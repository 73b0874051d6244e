// A gamepad plugged into the running game, as SDL's virtual joystick: each control does what its key does, Start is
// Home on a banner or the game-over picture and the pause in play, a pad pulled out lets go, and a new one's right
// trigger drives level 1.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "assets/render_options.h"
#include "player/controls.h"
#include "player/player.h"
#include "shell/game_flow.h"
#include "shell/pause.h"
#include "tests/support/game_driver.h"
#include "tests/support/virtual_pad.h"
#include "world/levels.h"

namespace {

// An axis to value of its full tilt (a trigger's rest is the pad's lowest reading), or a button held (1) or let go.
void set(SDL_Joystick* pad, int axis, int button, int value) {
    const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    if (axis >= 0) SDL_JoystickSetVirtualAxis(pad, axis, Sint16(trigger && value == 0 ? -32768 : value * 32767));
    if (button >= 0) SDL_JoystickSetVirtualButton(pad, button, Uint8(value));
    playFrames(2, 16);
}

void push(SDL_Joystick* pad, int button) { set(pad, -1, button, 1), set(pad, -1, button, 0); }

}  // namespace

TEST(Pad, EachControlDoesWhatItsKeyDoesAndTheRightTriggerAloneDrivesLevelOneToItsEnd) {
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);  // else SDL's libdbus starts a bus through X, which leaks
    startDrivenGame();
    SDL_Joystick* pad = plugInPad();
    playFrames(2, 16);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_FALSE(levelIntroVisible) << "Start on the banner is Home";
    const int kTriggerLeft = SDL_CONTROLLER_AXIS_TRIGGERLEFT, kTriggerRight = SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    const struct { int axis, direction, button; const bool* flag; } controls[] = {
        {kTriggerRight, 1, -1, &keys.forward}, {kTriggerLeft, 1, -1, &keys.backward},
        {SDL_CONTROLLER_AXIS_LEFTX, -1, -1, &keys.left}, {SDL_CONTROLLER_AXIS_LEFTX, 1, -1, &keys.right},
        {-1, 1, SDL_CONTROLLER_BUTTON_DPAD_LEFT, &keys.left}, {-1, 1, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, &keys.right},
        {-1, 1, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, &rightButtonDown}};
    for (const auto& c : controls) {
        set(pad, c.axis, c.button, c.direction);
        EXPECT_TRUE(*c.flag) << "axis " << c.axis << ", button " << c.button << " held";
        set(pad, c.axis, c.button, 0);
        EXPECT_FALSE(*c.flag) << "axis " << c.axis << ", button " << c.button << " let go";
    }
    const int32_t ammo = player.ammo;
    gameOutput();
    push(pad, SDL_CONTROLLER_BUTTON_A);
    EXPECT_TRUE(player.ammo == ammo - 1 && gameOutput() == "IMA CHARGIN MAH LAZERS!\n") << "A fires";
    push(pad, SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_TRUE(renderOptions.helpVisible) << "Back is F1";
    push(pad, SDL_CONTROLLER_BUTTON_BACK);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(gamePaused()) << "Start in play pauses";
    push(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_FALSE(gamePaused());
    gameOver = true;
    push(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_TRUE(levelIntroVisible && !gamePaused()) << "Start on the game-over picture is Home";
    set(pad, kTriggerRight, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1);
    pullOutPad(pad);
    playFrames(2, 16);
    EXPECT_FALSE(keys.forward || rightButtonDown) << "a pad pulled out lets go";
    levelNumber = 1;
    levelIntroVisible = true;
    pad = plugInPad();
    playFrames(2, 16);
    push(pad, SDL_CONTROLLER_BUTTON_START);
    set(pad, kTriggerRight, -1, 1);
    EXPECT_TRUE(playUntil([] { return levelIntroVisible; }, 90000, 250, 8) && levelNumber == 2);
    pullOutPad(pad);
}
