#include "shell/game_flow.h"

bool levelIntroVisible = true;
bool startRequested;
bool restartRequested;
bool gameOver;
bool levelComplete;

unsigned int vertexShader;
unsigned int fragmentShader;
unsigned int shaderProgram;

uint64_t lastTickMs;
