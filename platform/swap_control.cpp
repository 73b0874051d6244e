#include "platform/swap_control.h"

#include <GL/glx.h>

#include <cstring>

namespace {

bool offers(Display* display, const char* extension) {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (!extensions) return false;
    const size_t length = std::strlen(extension);
    for (const char* at = std::strstr(extensions, extension); at; at = std::strstr(at + 1, extension))
        if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

template <typename Function>
Function entryPoint(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

bool setSwapInterval(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return false;
    if (offers(display, "GLX_EXT_swap_control")) {
        auto swapInterval = entryPoint<void (*)(Display*, GLXDrawable, int)>("glXSwapIntervalEXT");
        if (swapInterval) return swapInterval(display, drawable, interval), true;
    }
    if (offers(display, "GLX_MESA_swap_control")) {
        auto swapInterval = entryPoint<int (*)(unsigned int)>("glXSwapIntervalMESA");
        if (swapInterval) return swapInterval(unsigned(interval)) == 0;
    }
    return false;
}
