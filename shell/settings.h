#pragma once
// What the player may set, outside the keys: the window, v-sync, the sound's
// volume and auto-pause. Defaults first, then the settings file, then the
// command line for one run.

// A window smaller than this cannot show the overlay; larger than this no
// screen is, and the renderer's buffers would run to gigabytes.
const int kMinWindowWidth = 320;
const int kMinWindowHeight = 200;
const int kMaxWindowSide = 16384;

struct Settings {
    bool fullscreen = true;
    int width = 1420;  // the window's size when not full screen
    int height = 800;
    bool vsync = true;
    int volume = 100;  // 0..100, music and effects alike
    bool autoPause = true;
};
