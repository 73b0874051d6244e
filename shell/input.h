#pragma once
// Keyboard and mouse callbacks: the driving controls held, firing, the camera,
// the music, the function keys' switches, Home and Esc.

void onKeyDown(unsigned char key, int x, int y);
void onKeyUp(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
void onSpecialKeyUp(int key, int x, int y);
void onMouse(int button, int state, int x, int y);

// Home: starts the level its banner shows, or after a loss goes back to level 1.
void requestLevelStart();
// F1: the help picture over everything, or not.
void toggleHelp();

// The window lost the keyboard focus: the releases of the keys and buttons held
// now go to another window, so they are let go here, and a key pressed again on
// return counts as a new press.
void releaseHeldInput();
