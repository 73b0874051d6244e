#pragma once
// Frame pacing: whether a buffer swap waits for the screen's next refresh.

// Asks the GL of the current context to wait for the refresh at each swap
// (interval 1) or not (0), through whichever GLX swap-control extension it
// offers. False where it offers none; the swaps then go as the driver likes.
bool setSwapInterval(int interval);
