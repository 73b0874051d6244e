#pragma once
// The game's command line: options that override the settings for one run.
// The windowing library's own X options (-display NAME, -geometry WxH+X+Y,
// -iconic, -direct, -indirect, -gldebug, -sync) are stepped over, values and
// all, and left in argv for it. Nothing here needs a display.

#include "shell/settings.h"

enum class CommandLineVerdict { play, exitSuccess, exitBadUsage };

// Reads argv[1..argc-1]. play: *settings now carries the options given.
// exitSuccess: --help or --version was answered on standard output.
// exitBadUsage: one line naming the faulty argument went to standard error.
// On either exit *settings is left as it was. --windowed and --fullscreen
// together are refused, as is any option given twice.
CommandLineVerdict applyCommandLine(int argc, char** argv, Settings* settings);

// The --help text: several lines, each ending in a newline.
const char* usageText();
