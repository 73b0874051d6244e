#pragma once
// The idle callback start-up hands the windowing library, caught on its way there: the test programs are linked with
// the library's registration call wrapped, so the game driver runs the main loop's passes through what start-up
// registered, and a game that registers none does nothing.

extern void (*registeredIdle)();
