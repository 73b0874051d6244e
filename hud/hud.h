#pragma once
// The overlay: the help picture, the game-over picture, the level banners and
// the victory picture, the frame rate in words, the meters and charge icons,
// and the word PAUSED.
// It draws what the level flow decided a frame shows, and decides nothing.
#include <optional>
#include <string>

// What one frame's overlay shows besides the help picture, which F1 puts over
// anything.
struct HudScreen {
    bool gameOverPicture;
    std::optional<int> bannerLevel;  // 1..3 that level's banner, 4 and up victory
    std::string wonLine;             // on the banner after a win: the level's time and the best
    bool meters;                     // in play: the health and boost meters and one icon a charge
    int framesPerSecond;             // read out in words while F2 is on, unless 0
    bool paused;                     // the word PAUSED over everything
};

void drawHud(const HudScreen& screen);
// Whether the overlay covers the whole window with an opaque picture (help,
// game over or a banner), so that nothing drawn under it shows.
bool hudCoversScene(const HudScreen& screen);

// "FPS: " and the rate in capital words, e.g. "FPS: SIXTYTWO" for 62.
std::string frameRateText(int framesPerSecond);
