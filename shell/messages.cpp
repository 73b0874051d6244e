#include "shell/messages.h"

#include <iostream>

void say(const char* line) {
    std::cout << line << std::endl;
}
