#include "platform/gamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/virtual_pad.h"

namespace {

const int kStickX = SDL_CONTROLLER_AXIS_LEFTX, kLeftTrigger = SDL_CONTROLLER_AXIS_TRIGGERLEFT;
const int kRightTrigger = SDL_CONTROLLER_AXIS_TRIGGERRIGHT;

// Sets the axis to what the game reads: SDL scales a trigger from the pad's whole range, 2r - 32767 to r.
void tilt(SDL_Joystick* pad, int axis, int reading) {
    SDL_JoystickSetVirtualAxis(pad, axis, Sint16(axis >= kLeftTrigger ? 2 * reading - 32767 : reading));
}

// The flags all pads hold together, by name.
std::string held() {
    const PadState pad = readGamepads();
    const std::pair<bool, const char*> flags[] = {{pad.steerLeft, "steerLeft"}, {pad.steerRight, "steerRight"},
        {pad.accelerate, "accelerate"}, {pad.brake, "brake"}, {pad.boost, "boost"}, {pad.fire, "fire"},
        {pad.start, "start"}, {pad.back, "back"}};
    std::string names;
    for (const auto& [on, name] : flags) names += on ? (names.empty() ? "" : " ") + std::string(name) : "";
    return names;
}

// Without a session bus SDL has libdbus start one through the X display, which leaks.
class Gamepad : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0); }
    void TearDown() override { closeGamepads(); }
};

// Each axis just inside and past its dead zone, then just outside and inside its release zone.
TEST_F(Gamepad, EachAxisHoldsItsFlagPastItsDeadZoneAndLetsGoWellInsideIt) {
    const struct { int axis, reading; const char* held; } axes[] = {
        {kStickX, 8000, ""}, {kStickX, 8001, "steerRight"}, {kStickX, 6001, "steerRight"}, {kStickX, 6000, ""},
        {kStickX, -8000, ""}, {kStickX, -8001, "steerLeft"}, {kStickX, -6001, "steerLeft"}, {kStickX, -6000, ""},
        {kRightTrigger, 10922, ""}, {kRightTrigger, 10923, "accelerate"}, {kRightTrigger, 8193, "accelerate"},
        {kRightTrigger, 8192, ""}, {kLeftTrigger, 10922, ""}, {kLeftTrigger, 10923, "brake"},
        {kLeftTrigger, 8193, "brake"}, {kLeftTrigger, 8192, ""}, {SDL_CONTROLLER_AXIS_RIGHTX, -32768, ""}};
    ASSERT_TRUE(openGamepads());
    SDL_Joystick* pad = plugInPad();
    for (const auto& step : axes) {
        tilt(pad, step.axis, step.reading);
        EXPECT_EQ(held(), step.held) << "axis " << step.axis << " at " << step.reading;
    }
}

// SDL's joystick support is started first, as a pad must exist before the game opens its controllers. Every button
// of one pad and the other's A, held together, hold every flag; the pad pulled out lets go of all it held.
TEST_F(Gamepad, PadsPluggedInBeforeAndAfterOpeningAreSeenAndOnePulledOutLetsGoOfAllItHeld) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    SDL_Joystick* early = plugInPad();
    SDL_JoystickSetVirtualButton(early, SDL_CONTROLLER_BUTTON_A, 1);
    ASSERT_TRUE(openGamepads());
    EXPECT_EQ(held(), "fire");
    // Opening a pad sets its triggers to rest until SDL next reads it, so the game first sees it plugged in.
    SDL_Joystick* late = plugInPad();
    EXPECT_EQ(held(), "fire");
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
        SDL_JoystickSetVirtualButton(late, button, button != SDL_CONTROLLER_BUTTON_A);
    for (int trigger : {kLeftTrigger, kRightTrigger}) tilt(late, trigger, 32767);
    EXPECT_EQ(held(), "steerLeft steerRight accelerate brake boost fire start back");
    const SDL_JoystickID lateId = SDL_JoystickInstanceID(late);
    pullOutPad(late);
    EXPECT_EQ(held(), "fire");
    EXPECT_EQ(SDL_GameControllerFromInstanceID(lateId), nullptr);  // closed, not only zeroed by SDL
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
