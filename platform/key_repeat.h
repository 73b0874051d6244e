#pragma once
// A held key's repeats as presses alone. X normally sends a release before
// every repeated press, and a release that is handled late cannot be told from
// a real one.

// Asks the X server of the current GL context for repeats without releases.
// Returns false where it cannot; repeats then arrive as release-press pairs.
bool makeKeyRepeatDetectable();
