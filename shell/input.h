#pragma once
// Keyboard and mouse callbacks: held driving keys, firing, toggles, Home and Esc.

struct KeyState {
    bool forward;   // 'w'
    bool left;      // 'a'
    bool backward;  // 's'
    bool right;     // 'd'
};

struct RenderOptions {
    bool helpVisible;        // F1
    bool fpsVisible;         // F2
    bool wireframe;          // F3
    bool bilinearFiltering;  // F4
    int mipmapMode;          // F5, 0..2
    bool fogEnabled;         // F6
    bool frustumCullingOff;  // F8
    bool transparencyOff;    // F9
};

extern KeyState keys;
extern bool rightButtonDown;
extern RenderOptions renderOptions;

void onKeyDown(unsigned char key, int x, int y);
void onKeyUp(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
void onSpecialKeyUp(int key, int x, int y);
void onMouse(int button, int state, int x, int y);
// The window lost the keyboard focus: the releases of the keys and buttons held
// now go to another window, so they are let go here, and a key pressed again on
// return counts as a new press.
void releaseHeldInput();
// Called at the end of every step of game time: lets go of the driving keys
// released before any step had seen them down.
void releaseKeysTappedWithinStep();
