#pragma once
// Milliseconds of a monotonic clock, wrapping at 2^32: the game's time source.
// For timing the game, not for telling the time of day.
#include <cstdint>

uint32_t getTickCount();
