// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "shell/frame_update.h"
DriveState drive;
void onIdle() {}
