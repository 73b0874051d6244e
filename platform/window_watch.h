#pragma once
// The game window's keyboard focus and whether it is shown, which the windowing
// library does not pass on. They are read on an X connection of the watch's own,
// so the windowing library's events stay exactly as they were.
//
// The window counts as focused and shown until the window system says otherwise:
// on a bare X server with no window manager it may never be told either.

struct WindowNews {
    bool focusLost;  // the focus left the window since the last read, however briefly
    bool focused;    // it has the keyboard focus now
    bool shown;      // mapped: neither iconified nor hidden
};

// Starts watching the window of the current GL context. False where the display
// cannot be opened a second time; the news then never changes.
bool watchGameWindow();
// What has happened to the window since the last read.
WindowNews readWindowNews();
