#pragma once
// The tests' tick counter: it stands still until a test moves it, so game time runs exactly as the test scripts it.
#include <cstdint>

extern uint32_t scriptedNowMs;
