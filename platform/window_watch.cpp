#include "platform/window_watch.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

Display* watchDisplay = nullptr;
WindowNews news = {false, true, true};

// Focus moving into a child of the window leaves it with the window; every other
// move, a window manager's keyboard grab included, takes the keys elsewhere.
void noteEvent(const XEvent& event) {
    switch (event.type) {
    case FocusOut:
        if (event.xfocus.detail == NotifyInferior) break;
        news.focused = false;
        news.focusLost = true;
        break;
    case FocusIn:
        if (event.xfocus.detail != NotifyInferior) news.focused = true;
        break;
    case UnmapNotify: news.shown = false; break;
    case MapNotify: news.shown = true; break;
    default: break;
    }
}

}  // namespace

bool watchGameWindow() {
    Display* gameDisplay = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (!gameDisplay || !window) return false;
    watchDisplay = XOpenDisplay(DisplayString(gameDisplay));
    if (!watchDisplay) return false;
    XSelectInput(watchDisplay, window, FocusChangeMask | StructureNotifyMask);
    XFlush(watchDisplay);
    return true;
}

WindowNews readWindowNews() {
    while (watchDisplay && XPending(watchDisplay) > 0) {
        XEvent event;
        XNextEvent(watchDisplay, &event);
        noteEvent(event);
    }
    const WindowNews now = news;
    news.focusLost = false;
    return now;
}
