#pragma once
// The overlay: pictures, level banners and flow, frame rate in words, meters,
// charge icons, and the music track each banner selects.
#include <optional>
#include <string>

void drawHud();
// Whether this frame's overlay will cover the whole window with an opaque
// picture (help, game over or a banner), so that nothing drawn under it shows.
bool hudCoversScene();

// What the level flow puts on screen in one frame.
struct HudScreen {
    bool gameOverPicture;            // the game is over (in the frame Home restarts, under the level 1 banner)
    std::optional<int> bannerLevel;  // a banner is up: 1..3 that level's banner and track, 4 and up victory
    bool startLevelNow;              // the banner was confirmed: start its level once it is drawn
};

// Moves the level flow on by one frame: consumes the Home requests, clears the
// flags a banner overrides and advances the level number after a win. Draws
// nothing and starts nothing; drawHud acts on the result.
HudScreen stepLevelFlow();

// "FPS: " and the rate in capital words, e.g. "FPS: SIXTYTWO" for 62.
std::string frameRateText(int framesPerSecond);
