#include "shell/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/messages.h"

namespace {

enum class Option { help, version, windowed, fullscreen, size, mute, noVsync, noAutoPause };

struct OptionName {
    const char* name;
    Option option;
};

const OptionName kOptions[] = {
    {"--help", Option::help},         {"--version", Option::version},     {"--windowed", Option::windowed},
    {"--fullscreen", Option::fullscreen}, {"--size", Option::size},       {"--mute", Option::mute},
    {"--no-vsync", Option::noVsync},  {"--no-auto-pause", Option::noAutoPause},
};
const int kOptionCount = sizeof kOptions / sizeof kOptions[0];

// The windowing library reads these itself, from the same argv.
const char* const kWindowingOptionsWithValue[] = {"-display", "-geometry"};
const char* const kWindowingFlags[] = {"-iconic", "-direct", "-indirect", "-gldebug", "-sync"};

// The error line repeats no more of a faulty argument than this.
const size_t kMaxQuotedBytes = 64;
// kMaxWindowSide has five digits; a longer side is refused before it is added up.
const int kMaxSideDigits = 5;

struct Reading {
    Settings settings;
    bool given[kOptionCount] = {};
    std::string error;  // what was wrong, for the one line; empty while all is well
};

bool printable(const char* text) {
    for (; *text; ++text) {
        const unsigned char byte = *text;
        if (byte < ' ' || byte > '~') return false;
    }
    return true;
}

// The argument in quotes, cut short and with its odd bytes as \xNN, so that
// the error stays one readable line whatever was typed.
std::string quoted(const char* text) {
    std::string out = "\"";
    const size_t length = std::strlen(text);
    for (size_t i = 0; i < length && i < kMaxQuotedBytes; ++i) {
        const unsigned char byte = text[i];
        if (byte < ' ' || byte > '~' || byte == '"' || byte == '\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += char(byte);
        }
    }
    out += length > kMaxQuotedBytes ? "\"..." : "\"";
    return out;
}

// Only the first mistake is told: the later ones may only follow from it.
void fail(Reading* reading, const std::string& what) {
    if (reading->error.empty()) reading->error = what;
}

template <size_t N>
bool isOneOf(const char* argument, const char* const (&names)[N]) {
    for (const char* name : names)
        if (std::strcmp(argument, name) == 0) return true;
    return false;
}

// The game option the argument names, up to any "=value"; null when none.
const OptionName* findOption(const char* argument) {
    const size_t nameLength = std::strcspn(argument, "=");
    for (const OptionName& option : kOptions)
        if (std::strlen(option.name) == nameLength && std::strncmp(argument, option.name, nameLength) == 0)
            return &option;
    return nullptr;
}

// One to kMaxSideDigits decimal digits, no sign, no blanks.
bool readSide(const char** cursor, int* side) {
    int digits = 0;
    *side = 0;
    for (; **cursor >= '0' && **cursor <= '9'; ++*cursor) {
        if (++digits > kMaxSideDigits) return false;
        *side = *side * 10 + (**cursor - '0');
    }
    return digits > 0;
}

bool parseWindowSize(const char* text, int* width, int* height) {
    const char* cursor = text;
    if (!readSide(&cursor, width) || *cursor != 'x') return false;
    ++cursor;
    if (!readSide(&cursor, height) || *cursor != '\0') return false;
    return *width >= kMinWindowWidth && *height >= kMinWindowHeight && *width <= kMaxWindowSide &&
           *height <= kMaxWindowSide;
}

void setWindowSize(const char* value, Reading* reading) {
    int width, height;
    if (!parseWindowSize(value, &width, &height)) {
        fail(reading, "bad window size " + quoted(value) + " (WIDTHxHEIGHT, from " + std::to_string(kMinWindowWidth) +
                          "x" + std::to_string(kMinWindowHeight) + " to " + std::to_string(kMaxWindowSide) + "x" +
                          std::to_string(kMaxWindowSide) + ")");
        return;
    }
    reading->settings.width = width;
    reading->settings.height = height;
}

// A window and the full screen at once is a typing mistake, not a choice.
void setFullscreen(Option option, Reading* reading) {
    const bool fullscreen = option == Option::fullscreen;
    if (reading->given[int(fullscreen ? Option::windowed : Option::fullscreen)]) {
        fail(reading, "--windowed and --fullscreen contradict each other");
        return;
    }
    reading->settings.fullscreen = fullscreen;
}

void applyFlag(Option option, Reading* reading) {
    switch (option) {
    case Option::windowed:
    case Option::fullscreen: setFullscreen(option, reading); break;
    case Option::mute: reading->settings.volume = 0; break;
    case Option::noVsync: reading->settings.vsync = false; break;
    case Option::noAutoPause: reading->settings.autoPause = false; break;
    default: break;  // --help and --version are answered once all is read
    }
}

// Reads the game option at argv[i] and, for "--size WxH", its value after it;
// returns the index of the last argument read.
int readGameOption(int argc, char** argv, int i, Reading* reading) {
    const char* argument = argv[i];
    const OptionName* option = findOption(argument);
    if (!option) {
        fail(reading, "unknown option " + quoted(argument));
        return i;
    }
    if (reading->given[int(option->option)]) {
        fail(reading, std::string(option->name) + " is given twice");
        return i;
    }
    reading->given[int(option->option)] = true;
    const char* equals = std::strchr(argument, '=');
    if (option->option != Option::size) {
        if (equals) fail(reading, std::string(option->name) + " takes no value: " + quoted(argument));
        applyFlag(option->option, reading);
        return i;
    }
    if (equals) {
        setWindowSize(equals + 1, reading);
        return i;
    }
    if (i + 1 == argc) {
        fail(reading, "--size needs a value, WIDTHxHEIGHT");
        return i;
    }
    setWindowSize(argv[i + 1], reading);
    return i + 1;
}

// Reads the argument at argv[i] and any value after it that belongs to it;
// returns the index of the last argument read.
int readArgument(int argc, char** argv, int i, Reading* reading) {
    const char* argument = argv[i];
    if (isOneOf(argument, kWindowingFlags)) return i;
    if (isOneOf(argument, kWindowingOptionsWithValue)) {
        if (i + 1 == argc) fail(reading, std::string(argument) + " needs a value");
        return i + 1;
    }
    if (argument[0] == '-') return readGameOption(argc, argv, i, reading);
    fail(reading, "unexpected argument " + quoted(argument));
    return i;
}

std::string composeUsage() {
    const Settings defaults;
    char text[1536];
    std::snprintf(text, sizeof text,
                  "Usage: gorvanka [OPTION]...\n"
                  "Drive a little car down a long road, through three levels.\n"
                  "\n"
                  "  --help           show this help and quit\n"
                  "  --version        show the game's version and quit\n"
                  "  --fullscreen     play on the whole screen%s\n"
                  "  --windowed       play in a window%s\n"
                  "  --size WxH       the window's size when windowed (%dx%d by default),\n"
                  "                   from %dx%d to %dx%d\n"
                  "  --mute           play without music or sound this time\n"
                  "  --no-vsync       draw frames without waiting for the screen's refresh\n"
                  "  --no-auto-pause  never pause the game by itself\n"
                  "\n"
                  "The windowing library's own X options work as well: -display NAME,\n"
                  "-geometry WxH+X+Y, -iconic, -direct, -indirect, -gldebug and -sync.\n",
                  defaults.fullscreen ? " (the default)" : "", defaults.fullscreen ? "" : " (the default)",
                  defaults.width, defaults.height, kMinWindowWidth, kMinWindowHeight, kMaxWindowSide,
                  kMaxWindowSide);
    return text;
}

}  // namespace

CommandLineVerdict applyCommandLine(int argc, char** argv, Settings* settings) {
    Reading reading;
    reading.settings = *settings;
    for (int i = 1; i < argc; ++i)
        if (!printable(argv[i])) fail(&reading, "unprintable bytes in the argument " + quoted(argv[i]));
    for (int i = 1; i < argc && reading.error.empty(); ++i) i = readArgument(argc, argv, i, &reading);
    if (!reading.error.empty()) {
        complain("Gorvanka: %s; see gorvanka --help\n", reading.error.c_str());
        return CommandLineVerdict::exitBadUsage;
    }
    if (reading.given[int(Option::help)]) {
        sayf("%s", usageText());
    } else if (reading.given[int(Option::version)]) {
        sayf("Gorvanka %s\n", GORVANKA_VERSION);
    } else {
        *settings = reading.settings;
        return CommandLineVerdict::play;
    }
    return CommandLineVerdict::exitSuccess;
}

const char* usageText() {
    static const std::string text = composeUsage();
    return text.c_str();
}
