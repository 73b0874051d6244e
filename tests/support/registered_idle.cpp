#include "tests/support/registered_idle.h"

void (*registeredIdle)();

extern "C" void __real_glutIdleFunc(void (*callback)());

// Linked with --wrap=glutIdleFunc: every registration passes through here on its way to the windowing library.
extern "C" void __wrap_glutIdleFunc(void (*callback)()) {
    registeredIdle = callback;
    __real_glutIdleFunc(callback);
}
