#include "platform/messages.h"

#include <cstdarg>
#include <cstdio>

namespace {

void print(std::FILE* stream, const char* format, va_list arguments) {
    std::vfprintf(stream, format, arguments);
    std::fflush(stream);
}

}  // namespace

void say(const char* line) { sayf("%s\n", line); }

void sayf(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    print(stdout, format, arguments);
    va_end(arguments);
}

void complain(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    print(stderr, format, arguments);
    va_end(arguments);
}
