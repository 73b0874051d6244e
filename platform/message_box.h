#pragma once
// A message about a file the game could not use, shown as one line
// "caption: text" on standard error; it returns at once.

void showMessageBox(const char* text, const char* caption);
