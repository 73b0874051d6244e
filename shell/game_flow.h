#pragma once
// The level flow: a banner waits for Home, play ends in a win (the next banner)
// or a loss (the game-over picture, where Home goes back to level 1's banner).
// The step sets gameOver and levelComplete, Home sets the requests, and each
// frame moves the flow on before it draws.
#include <cstdint>

#include "hud/hud.h"

extern bool levelIntroVisible;  // a level banner is up, waiting for Home (starts true)
extern bool startRequested;     // Home pressed on a banner
extern bool restartRequested;   // Home pressed on the game-over picture
extern bool gameOver;           // the game-over picture is shown
extern bool levelComplete;      // the end of the road was reached

// What the flow puts on screen this frame, before the overlay's own switches.
struct FlowScreen {
    bool gameOverPicture;            // in the frame Home restarts, under the level 1 banner
    std::optional<int> bannerLevel;  // 1..3 that level's banner and track, 4 and up victory
    bool startLevelNow;              // the banner was confirmed: its level starts
    std::optional<int> wonLevel;     // the level just won: the end line was reached
};

// Moves the flow on by one frame: consumes the Home requests, clears the flags
// a banner overrides and advances the level number after a win. Changes nothing
// else; advanceLevelFlow acts on the result.
FlowScreen stepLevelFlow();

// Counts a step of game time towards the time of the level in play: from the
// level's start up to the step that reaches the end line, which is the same on
// every machine.
void countStepOfPlay(uint32_t stepMs);

// One frame's flow: the step, a won level's time and record, the banner's
// music, and the level start Home asked for; returns what the overlay draws.
HudScreen advanceLevelFlow(int framesPerSecond);
