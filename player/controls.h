#pragma once
// What the player holds down to drive: the pedals, the steering and the boost,
// as held flags the drive logic reads once a step. The keyboard and mouse and a
// gamepad may hold the same control; it is held while either holds it. A press
// and release that both fall between two steps still drive for that one step:
// the release waits for the step.

struct KeyState {
    bool forward;   // 'w'
    bool left;      // 'a'
    bool backward;  // 's'
    bool right;     // 'd'
};

extern KeyState keys;
extern bool rightButtonDown;  // the boost

enum class Control { forward, left, backward, right, boost };
enum class Holder { hands, pad };  // the keyboard and mouse, or a gamepad

void pressControl(Control control, Holder holder = Holder::hands);
void releaseControl(Control control, Holder holder = Holder::hands);
// Lets go of everything the keyboard and mouse hold, at once or after the step
// that has yet to see it.
void releaseAllControls();
// Called at the end of every step: lets go of the controls released before any
// step had seen them down.
void endStepForControls();
