#pragma once
// Names the game's window to the desktop: the X window class that a desktop
// matches against its menu entry (StartupWMClass) to group, label and give an
// icon to the window. The windowing library sets a class of its own instead.

// Sets the instance and class names of the current GL context's window; does
// nothing where there is none, as the window then merely keeps its old class.
void setWindowClass(const char* instanceName, const char* className);
