// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "platform/message_box.h"
void showMessageBox(const char*, const char*) {}
