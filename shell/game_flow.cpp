#include "shell/game_flow.h"

bool levelIntroVisible = true;
bool startRequested;
bool restartRequested;
bool gameOver;
bool levelComplete;
