#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/messages.h"
#include "platform/user_files.h"

namespace {

// A settings file is a few hundred bytes; one far larger is no settings file.
const size_t kMaxSettingsBytes = 64 * 1024;
const size_t kMaxLineBytes = 1024;
const char kByteOrderMark[] = "\xEF\xBB\xBF";

const char kDefaultFileHeader[] =
    "# Gorvanka's settings. The game wrote this file with its defaults and never\n"
    "# changes it again: edit it freely, or delete it to get the defaults back.\n"
    "# Lines starting with # or ; are comments. true and false may also be\n"
    "# written yes and no, on and off, or 1 and 0.\n";

// One setting: where it is written and the field it sets, either a flag or a
// number within bounds.
struct Key {
    const char* section;
    const char* name;
    const char* comment;  // above it in the default file
    bool Settings::*flag;
    int Settings::*number;
    int low, high;
};

const Key kKeys[] = {
    {"display", "fullscreen", "true fills the screen; false opens a window of width x height",
        &Settings::fullscreen, nullptr, 0, 0},
    {"display", "width", "The window's size in pixels when not full screen",
        nullptr, &Settings::width, kMinWindowWidth, kMaxWindowSide},
    {"display", "height", nullptr,
        nullptr, &Settings::height, kMinWindowHeight, kMaxWindowSide},
    {"display", "vsync", "true waits for the screen's refresh before showing a frame",
        &Settings::vsync, nullptr, 0, 0},
    {"sound", "volume", "0 (silent) to 100, music and effects alike",
        nullptr, &Settings::volume, 0, 100},
    {"play", "auto_pause", "true pauses the game while its window is hidden or has lost the keyboard focus",
        &Settings::autoPause, nullptr, 0, 0},
};

// Where the reading of the file stands.
struct Reading {
    std::string path;
    Settings* settings = nullptr;
    int line = 0;
    bool inSection = false;
    bool sectionKnown = false;
    std::string section;
    std::map<const Key*, int> setOn;  // the line that last set each key
};

void warn(const Reading& reading, const std::string& problem) {
    say(("Settings: " + reading.path + ":" + std::to_string(reading.line) + ": " + problem).c_str());
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Length of the UTF-8 character at text[at], or 0 where the bytes are none:
// a stray or missing continuation byte, an overlong form, a surrogate.
size_t utf8Length(const std::string& text, size_t at) {
    const unsigned char lead = text[at];
    if (lead < 0x80) return 1;
    size_t length;
    unsigned code, least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = text[at + i];
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= least && code <= 0x10FFFF && !surrogate ? length : 0;
}

// What is wrong with the line's bytes; empty when nothing is.
std::string badBytes(const std::string& line) {
    if (line.size() > kMaxLineBytes) return "line is longer than " + std::to_string(kMaxLineBytes) + " bytes";
    for (size_t at = 0; at < line.size();) {
        const unsigned char c = line[at];
        if (c == 0) return "line holds a NUL byte";
        if ((c < 0x20 && c != '\t') || c == 0x7F) return "line holds a control character";
        const size_t length = utf8Length(line, at);
        if (length == 0) return "line is not valid UTF-8";
        at += length;
    }
    return "";
}

bool parseFlag(std::string value, bool* flag) {
    for (char& c : value) c = char(std::tolower(static_cast<unsigned char>(c)));
    const bool yes = value == "true" || value == "yes" || value == "on" || value == "1";
    const bool no = value == "false" || value == "no" || value == "off" || value == "0";
    if (yes || no) *flag = yes;
    return yes || no;
}

// Digits only, few enough to fit an int, and within the bounds.
bool parseNumber(const std::string& value, int low, int high, int* number) {
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    const int parsed = std::stoi(value);
    if (parsed < low || parsed > high) return false;
    *number = parsed;
    return true;
}

std::string valueText(const Key& key, const Settings& settings) {
    if (key.flag) return settings.*key.flag ? "true" : "false";
    return std::to_string(settings.*key.number);
}

std::string badValue(const Key& key, const Settings& settings) {
    const std::string keeping = "; keeping " + valueText(key, settings);
    if (key.flag) return quoted(key.name) + " must be true or false" + keeping;
    return quoted(key.name) + " must be a whole number from " + std::to_string(key.low) + " to " +
           std::to_string(key.high) + keeping;
}

// A key the player put in the wrong section is pointed to its own.
std::string unknownKey(const std::string& section, const std::string& name) {
    std::string problem = "unknown key " + quoted(name) + " in [" + section + "]";
    for (const Key& key : kKeys)
        if (name == key.name) problem += " (it belongs in [" + std::string(key.section) + "])";
    return problem + "; ignoring it";
}

void enterSection(Reading* reading, const std::string& name) {
    reading->inSection = true;
    reading->section = name;
    reading->sectionKnown = std::any_of(std::begin(kKeys), std::end(kKeys), [&](const Key& key) {
        return name == key.section;
    });
    if (!reading->sectionKnown) warn(*reading, "unknown section [" + name + "]; ignoring it and its keys");
}

// The last good value of a key given twice counts.
void setKey(Reading* reading, const Key& key, const std::string& value) {
    Settings& settings = *reading->settings;
    const bool good = key.flag ? parseFlag(value, &(settings.*key.flag))
                               : parseNumber(value, key.low, key.high, &(settings.*key.number));
    if (!good) return warn(*reading, badValue(key, settings));
    const auto earlier = reading->setOn.find(&key);
    if (earlier != reading->setOn.end())
        warn(*reading, quoted(key.name) + " was already set on line " + std::to_string(earlier->second) +
                           "; this later line counts");
    reading->setOn[&key] = reading->line;
}

void readLine(Reading* reading, const std::string& raw) {
    const std::string problem = badBytes(raw);
    if (!problem.empty()) return warn(*reading, problem + "; ignoring it");
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
        return enterSection(reading, trimmed(line.substr(1, line.size() - 2)));
    const size_t equals = line.find('=');
    const std::string name = trimmed(line.substr(0, equals));
    if (equals == std::string::npos || name.empty())
        return warn(*reading, "line is neither a [section] nor a key = value; ignoring it");
    if (!reading->inSection) return warn(*reading, quoted(name) + " comes before any [section]; ignoring it");
    if (!reading->sectionKnown) return;
    const auto key = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const Key& k) {
        return reading->section == k.section && name == k.name;
    });
    if (key == std::end(kKeys)) return warn(*reading, unknownKey(reading->section, name));
    setKey(reading, *key, trimmed(line.substr(equals + 1)));
}

// Lines end in "\n" or "\r\n"; the last may have no end.
void readSettingsText(Reading* reading, const std::string& text) {
    size_t at = text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++reading->line;
        readLine(reading, line);
        at = end + 1;
    }
}

std::string defaultSettingsText() {
    const Settings defaults;
    std::string text = kDefaultFileHeader;
    const char* section = "";
    for (const Key& key : kKeys) {
        if (std::strcmp(section, key.section) != 0) text += "\n[" + std::string(section = key.section) + "]\n";
        if (key.comment) text += "# " + std::string(key.comment) + "\n";
        text += std::string(key.name) + " = " + valueText(key, defaults) + "\n";
    }
    return text;
}

// Only where there is no file: one the player made meanwhile is left alone.
void writeDefaultFile(const std::string& path) {
    std::string why;
    const std::string folder = path.substr(0, path.rfind('/'));
    if (makeFolders(folder, &why) && writeNewFileAtomically(path, defaultSettingsText(), &why)) return;
    say(("Settings: cannot write " + path + ": " + why + "; playing with the default settings").c_str());
}

}  // namespace

std::string settingsPath() {
    const std::string folder = configFolder();
    return folder.empty() ? "" : folder + "/settings.ini";
}

void loadSettings(Settings* settings) {
    const std::string path = settingsPath();
    if (path.empty()) {
        say("Settings: neither XDG_CONFIG_HOME nor HOME names a folder; playing with the default settings");
        return;
    }
    std::string text, why;
    switch (readSmallFile(path, kMaxSettingsBytes, &text, &why)) {
    case ReadStatus::read: {
        Reading reading;
        reading.path = path;
        reading.settings = settings;
        readSettingsText(&reading, text);
        break;
    }
    case ReadStatus::missing:
        writeDefaultFile(path);
        break;
    case ReadStatus::failed:
        say(("Settings: cannot read " + path + ": " + why + "; playing with the default settings and leaving the "
             "file alone").c_str());
        break;
    }
}
