#include <X11/Xlib.h>

#include <cstring>

#include "platform/messages.h"
#include "shell/command_line.h"
#include "shell/records.h"
#include "shell/settings.h"
#include "shell/startup.h"

namespace {

const int kNoDisplayStatus = 1;
const int kBadUsageStatus = 2;

// The display the windowing library will open: its "-display" argument, or
// DISPLAY when that is null.
const char* requestedDisplay(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0) return argv[i + 1];
    return nullptr;
}

// Without a display the windowing library would end the game with a terse
// error of its own; say plainly what is missing instead. The connection stays
// open for the whole run: were it the server's only client, closing it would
// make the server reset just as the windowing library connects.
bool displayOpens(const char* name) {
    return XOpenDisplay(name) != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // Help, the version and a mistyped option are answered before any display
    // or settings file is needed.
    Settings optionsAlone;
    switch (applyCommandLine(argc, argv, &optionsAlone)) {
    case CommandLineVerdict::exitSuccess: return 0;
    case CommandLineVerdict::exitBadUsage: return kBadUsageStatus;
    case CommandLineVerdict::play: break;
    }
    const char* display = requestedDisplay(argc, argv);
    if (!displayOpens(display)) {
        const char* name = XDisplayName(display);
        complain("Gorvanka needs a graphical display: %s%s%s. Start it on a desktop, or set DISPLAY.\n",
                     *name ? "cannot open \"" : "none is set", name, *name ? "\"" : "");
        return kNoDisplayStatus;
    }
    // The defaults, then the settings file, then the options for this run.
    Settings settings;
    loadSettings(&settings);
    applyCommandLine(argc, argv, &settings);
    loadRecords();
    return runGame(argc, argv, settings);
}
