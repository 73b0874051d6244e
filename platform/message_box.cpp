#include "platform/message_box.h"
#include "platform/messages.h"


void showMessageBox(const char* text, const char* caption) {
    complain("%s: %s\n", caption, text);
}
