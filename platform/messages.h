#pragma once
// The game's one way to the console. Each message goes out whole and flushed,
// so the game's lines, the sound layer's and the libraries' keep their order.

// A whole line on standard output.
void say(const char* line);
// printf-style on standard output; the format brings its own line ends (a few
// of the game's messages end without one).
void sayf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf-style on standard error: what ends the game, and the models' and
// message boxes' complaints.
void complain(const char* format, ...) __attribute__((format(printf, 1, 2)));
