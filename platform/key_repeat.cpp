#include "platform/key_repeat.h"

#include <GL/glx.h>
#include <X11/XKBlib.h>

bool makeKeyRepeatDetectable() {
    Display* display = glXGetCurrentDisplay();
    if (!display) return false;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    return supported == True;
}
