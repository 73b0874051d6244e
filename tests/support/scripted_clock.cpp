#include "tests/support/scripted_clock.h"

#include "platform/tick_counter.h"

uint32_t scriptedNowMs = 1000;

// Linked into every test in place of the platform's counter.
uint32_t getTickCount() { return scriptedNowMs; }
