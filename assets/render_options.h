#pragma once
// The player's drawing switches, each flipped by its function key.

struct RenderOptions {
    bool helpVisible;        // F1
    bool fpsVisible;         // F2
    bool wireframe;          // F3
    bool bilinearFiltering;  // F4
    int mipmapMode;          // F5, 0..2
    bool fogEnabled;         // F6
    bool frustumCullingOff;  // F8
    bool transparencyOff;    // F9
};

extern RenderOptions renderOptions;
