#pragma once
// Start-up's shared state: the level-flow flags handed between the frame, the
// Home key and the HUD.
#include <cstdint>

extern bool levelIntroVisible;  // a level banner is up, waiting for Home (starts true)
extern bool startRequested;     // Home pressed on a banner
extern bool restartRequested;   // Home pressed on the game-over picture
extern bool gameOver;           // the game-over picture is shown
extern bool levelComplete;      // the end of the road was reached
