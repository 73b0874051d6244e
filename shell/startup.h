#pragma once
// Start-up: the window, the world, the player's first placement, the callbacks,
// the GL checks, the shader program and the sounds, then the main loop.

// Runs start-up and the main loop; returns -1 when the terrain cannot be built.
int runGame(int argc, char** argv);

// The whole file as a NUL-terminated text from malloc (the caller frees it);
// null for a null path, a file that cannot be opened, or an empty file.
char* readTextFile(const char* path);

// Prints the info log of a shader or program object, when it has one.
void printInfoLog(unsigned int object);

// Builds shaderProgram from "shaders/gorvanka.vert" and "shaders/gorvanka.frag".
// An unreadable source or a GL without shaders leaves it 0: fixed-function drawing.
void buildShaderProgram();

// glUseProgram where the GL has it; the fixed-function pipeline is 0.
void useShaderProgram(unsigned int program);
