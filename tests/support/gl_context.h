#pragma once
// A real GL context for tests: a small freeglut window on the test X display.
// Safe to call from every test; the window is made once per process.

void ensureGlContext();
