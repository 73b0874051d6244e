#pragma once
// Stands in for a modal message box with one OK button: writes one line
// "caption: text" to standard error and returns at once.

void showMessageBox(const char* text, const char* caption);
