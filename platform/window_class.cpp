#include "platform/window_class.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

void setWindowClass(const char* instanceName, const char* className) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (!display || !window) return;
    // Xlib takes the names as writable strings but only reads them.
    XClassHint hint;
    hint.res_name = const_cast<char*>(instanceName);
    hint.res_class = const_cast<char*>(className);
    XSetClassHint(display, window, &hint);
}
