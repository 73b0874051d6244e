#pragma once
// A monotonic millisecond counter that wraps at 2^32, like the system tick count
// the frame update was written against. For timing the game, not for the clock.
#include <cstdint>

uint32_t getTickCount();
