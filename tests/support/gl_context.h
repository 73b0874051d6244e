#pragma once
// A real GL context for tests: a small freeglut window on the test X display, made once per process.
#include <array>
#include <cstdint>

const int kGlWindowSize = 256;  // the test window is this many pixels square
using Pixel = std::array<int, 3>;

void ensureGlContext();

// The back buffer's colour at (x, y), y counted from the bottom row.
Pixel pixelAt(int x, int y);

// A texture of one RGB texel, bound; for telling what a draw sampled.
unsigned int solidTexture(uint8_t r, uint8_t g, uint8_t b);
