// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "platform/tick_counter.h"
uint32_t getTickCount() { return 0; }
