#pragma once
// The game's GLSL programs. The main one, for the vehicle and the rifle and bottle
// pickups, lights and colours from the built-in GL state; the two switches GLSL
// cannot see, fog and 2D texturing, it follows by drawing with a variant of itself
// built for their state, which leaves each pixel only the work that state needs.
// The terrain's has a vertex stage only: it lights the samples as the
// fixed-function pipeline does and leaves the fragments to it.

extern unsigned int vertexShader;
extern unsigned int fragmentShader;  // the main program's, for fog and texturing off
extern unsigned int shaderProgram;   // names the main program; 0 when the shaders could not be built
extern unsigned int terrainProgram;  // 0 when its shader could not be built

// The whole file as a NUL-terminated text from malloc (the caller frees it);
// null for a null path, a file that cannot be opened, or an empty file.
char* readTextFile(const char* path);

// Prints the info log of a shader or program object, when it has one.
void printInfoLog(unsigned int object);

// Builds shaderProgram from "shaders/gorvanka.vert" and "shaders/gorvanka.frag",
// and terrainProgram from "shaders/terrain.vert". An unreadable source or a GL
// without shaders leaves a program 0: fixed-function drawing.
void buildShaderProgram();

// glUseProgram where the GL has it; the fixed-function pipeline is 0. The main
// program starts out matching the GL state: fog and texturing as switched now.
void useShaderProgram(unsigned int program);

// Puts the terrain's program in use, when there is one, handing it the texturing
// that the GL state would apply, and turns fixed-function texturing off; false
// without the program. The caller saves and restores the enable bits.
bool useTerrainProgram();

// While the main program is in use, draws on with its variant for the fog's switch
// and the GL state's texturing: texturing counts only with GL_TEXTURE_2D on and a
// texture other than 0 bound, as the fixed-function pipeline draws. Call after
// switching either.
void matchShaderToGlState();
