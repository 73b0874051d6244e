#pragma once
// What the player may set, outside the keys: the window, v-sync, the sound's
// volume and auto-pause. Defaults first, then the settings file, then the
// command line for one run.
#include <string>

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

// The settings file, $XDG_CONFIG_HOME/gorvanka/settings.ini (by default
// ~/.config/gorvanka/settings.ini); empty when there is no home folder.
// It reads, in sections:
//     [display]  fullscreen = true|false, width = N, height = N, vsync = true|false
//     [sound]    volume = 0..100
//     [play]     auto_pause = true|false
// Section and key names are matched exactly as written. A true/false value may
// also be written yes/no, on/off or 1/0, in any case. Comments are whole lines
// starting with # or ;. Blanks around names and values, blank lines, a UTF-8
// byte-order mark and Windows line ends are fine. A key given twice counts its
// last good value.
std::string settingsPath();

// Overlays the settings file on *settings, which holds the defaults. Each
// mistake in the file (an unknown section or key, a value out of bounds, a
// stray line, a line over 1024 bytes or holding control characters or bytes
// that are not UTF-8) costs one line on standard output naming the file and
// line, and keeps the value from before; the good lines count. A file that
// cannot be read (a folder, too large, no permission) costs one line and
// counts for nothing. Where there is no file, one with the defaults and
// comments is written for the player to edit; the game never changes a file
// that is there.
void loadSettings(Settings* settings);
