// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "shell/game_flow.h"
bool levelIntroVisible = true;
bool startRequested, restartRequested, gameOver, levelComplete;
unsigned int vertexShader, fragmentShader, shaderProgram;
uint64_t lastTickMs;
