#pragma once
// The game's messages to the player and its progress lines, on standard output.

// Prints the line and flushes it, so it keeps its place among printf output.
void say(const char* line);
