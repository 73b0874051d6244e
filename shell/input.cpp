// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "shell/input.h"
KeyState keys;
bool rightButtonDown;
RenderOptions renderOptions;
void onKeyDown(unsigned char, int, int) {}
void onKeyUp(unsigned char, int, int) {}
void onSpecialKey(int, int, int) {}
void onMouse(int, int, int, int) {}
