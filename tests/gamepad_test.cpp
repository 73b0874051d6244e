#include "platform/gamepad.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

// Pads are SDL virtual joysticks of the game-controller type: SDL maps their
// buttons and axes in its own controller order (button 0 is A, axis 0 the left
// stick's x), so a button or axis number here is SDL's controller enum.
SDL_Joystick* plugIn() {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.name = "test pad";
    return SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&pad));
}

int deviceIndex(SDL_Joystick* pad) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad)) return i;
    return -1;
}

void unplug(SDL_Joystick* pad) {
    SDL_JoystickDetachVirtual(deviceIndex(pad));
    SDL_JoystickClose(pad);
}

void press(SDL_Joystick* pad, SDL_GameControllerButton button, bool down = true) {
    SDL_JoystickSetVirtualButton(pad, button, down);
}

// Sets the axis so that SDL reads it as `reading`: SDL scales a trigger from
// the joystick's whole range to 0..32767, so the raw value is searched for.
void setReading(SDL_Joystick* pad, SDL_GameControllerAxis axis, int reading) {
    SDL_GameController* reader = SDL_GameControllerOpen(deviceIndex(pad));
    int low = SDL_JOYSTICK_AXIS_MIN, high = SDL_JOYSTICK_AXIS_MAX;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        SDL_JoystickSetVirtualAxis(pad, axis, middle);
        SDL_JoystickUpdate();
        if (SDL_GameControllerGetAxis(reader, axis) < reading) low = middle + 1; else high = middle;
    }
    SDL_JoystickSetVirtualAxis(pad, axis, low);
    SDL_JoystickUpdate();
    EXPECT_EQ(SDL_GameControllerGetAxis(reader, axis), reading);
    SDL_GameControllerClose(reader);
}

std::string held(const PadState& state) {
    const std::pair<bool, const char*> flags[] = {
        {state.steerLeft, " steerLeft"}, {state.steerRight, " steerRight"}, {state.accelerate, " accelerate"},
        {state.brake, " brake"}, {state.boost, " boost"}, {state.fire, " fire"}, {state.start, " start"},
        {state.back, " back"}};
    std::string names;
    for (const auto& flag : flags)
        if (flag.first) names += flag.second;
    return names.empty() ? names : names.substr(1);
}

std::string readHeld() { return held(readGamepads()); }

// Without a session bus SDL has libdbus start one through the X display, which leaks.
class Gamepad : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0); }
    void TearDown() override { closeGamepads(); }
};

// An axis set to a reading (the others at rest), or a button pressed alone.
struct Control {
    bool isAxis;
    int which;  // an SDL_GameControllerAxis or SDL_GameControllerButton
    int reading;
    const char* held;
};

const int kStickX = SDL_CONTROLLER_AXIS_LEFTX;
const int kLeftTrigger = SDL_CONTROLLER_AXIS_TRIGGERLEFT;
const int kRightTrigger = SDL_CONTROLLER_AXIS_TRIGGERRIGHT;

const Control kControls[] = {
    {true, kStickX, -32768, "steerLeft"},   {true, kStickX, -8000, ""},  {true, kStickX, -8001, "steerLeft"},
    {true, kStickX, 32767, "steerRight"},   {true, kStickX, 8000, ""},   {true, kStickX, 8001, "steerRight"},
    {true, kRightTrigger, 10922, ""},       {true, kRightTrigger, 10923, "accelerate"},
    {true, kLeftTrigger, 10922, ""},        {true, kLeftTrigger, 10923, "brake"},
    {true, SDL_CONTROLLER_AXIS_RIGHTX, -32768, ""},
    {false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, "steerLeft"},
    {false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, "steerRight"},
    {false, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0, "boost"},
    {false, SDL_CONTROLLER_BUTTON_A, 0, "fire"},
    {false, SDL_CONTROLLER_BUTTON_START, 0, "start"},
    {false, SDL_CONTROLLER_BUTTON_BACK, 0, "back"},
    {false, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, ""},
};

TEST_F(Gamepad, EachControlHoldsItsFlagPastItsDeadZoneAndLetsGoAtRest) {
    ASSERT_TRUE(openGamepads());
    SDL_Joystick* pad = plugIn();
    for (const Control& control : kControls) {
        SCOPED_TRACE(std::to_string(control.which) + " at " + std::to_string(control.reading));
        const auto axis = SDL_GameControllerAxis(control.which);
        const auto button = SDL_GameControllerButton(control.which);
        if (control.isAxis) setReading(pad, axis, control.reading); else press(pad, button);
        EXPECT_EQ(readHeld(), control.held);
        if (control.isAxis) setReading(pad, axis, 0); else press(pad, button, false);
        EXPECT_EQ(readHeld(), "");
    }
    unplug(pad);
}

// Past the press zone, then back towards rest step by step.
TEST_F(Gamepad, SticksAndTriggersLetGoOnlyWellInsideTheirDeadZones) {
    ASSERT_TRUE(openGamepads());
    const Control steps[] = {
        {true, kStickX, 8001, "steerRight"},  {true, kStickX, 6001, "steerRight"}, {true, kStickX, 6000, ""},
        {true, kStickX, 7999, ""},            {true, kStickX, -8001, "steerLeft"}, {true, kStickX, -6001, "steerLeft"},
        {true, kStickX, -6000, ""},           {true, kLeftTrigger, 10923, "brake"}, {true, kLeftTrigger, 8193, "brake"},
        {true, kLeftTrigger, 8192, ""},       {true, kLeftTrigger, 10922, ""},
    };
    SDL_Joystick* pad = plugIn();
    for (const Control& step : steps) {
        setReading(pad, SDL_GameControllerAxis(step.which), step.reading);
        EXPECT_EQ(readHeld(), step.held) << "axis " << step.which << " at " << step.reading;
    }
    unplug(pad);
}

TEST_F(Gamepad, APadPulledOutLetsGoOfAllItHeldAndIsClosed) {
    ASSERT_TRUE(openGamepads());
    SDL_Joystick* first = plugIn();
    SDL_Joystick* second = plugIn();
    // Opening a pad sets its triggers to rest until SDL next reads it, so the
    // game first sees the pads plugged in, then held.
    EXPECT_EQ(readHeld(), "");
    press(first, SDL_CONTROLLER_BUTTON_A);
    setReading(second, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    setReading(second, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    setReading(second, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    for (auto button : {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                        SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK})
        press(second, button);
    EXPECT_EQ(readHeld(), "steerLeft steerRight accelerate brake boost fire start back");
    const SDL_JoystickID secondId = SDL_JoystickInstanceID(second);
    unplug(second);
    EXPECT_EQ(readHeld(), "fire");
    EXPECT_EQ(SDL_GameControllerFromInstanceID(secondId), nullptr);
    unplug(first);
    EXPECT_EQ(readHeld(), "");
}

// SDL's joystick support is started first, as the pad must exist before the
// game opens its controllers.
TEST_F(Gamepad, PadsPluggedInBeforeAndAfterOpeningAreSeen) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    SDL_Joystick* early = plugIn();
    press(early, SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(openGamepads());
    EXPECT_EQ(readHeld(), "fire");
    SDL_Joystick* late = plugIn();
    press(late, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(readHeld(), "fire start");
    unplug(early);
    unplug(late);
    closeGamepads();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    EXPECT_EQ(readHeld(), "");
}

}  // namespace
