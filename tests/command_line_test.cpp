#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Printed { nothing, help, version, error };

// Not the defaults, so that an option left out is seen to leave its setting as it was.
const Settings kStart{true, 1000, 700, true, 60, true};
const Settings kWindowedStart{false, 1000, 700, true, 60, true};

struct Case {
    std::vector<std::string> arguments;  // after the program's name
    CommandLineVerdict verdict;
    Settings after;           // {fullscreen, width, height, vsync, volume, autoPause}
    Printed printed;
    std::string culprit = "";  // what the error line must name
    Settings before = kStart;
};

const CommandLineVerdict kPlay = CommandLineVerdict::play;
const CommandLineVerdict kDone = CommandLineVerdict::exitSuccess;
const CommandLineVerdict kBad = CommandLineVerdict::exitBadUsage;
const std::string kLongOption = "--" + std::string(300, 'q');

const Case kCases[] = {
    {{}, kPlay, kStart, Printed::nothing},
    {{"--windowed"}, kPlay, {false, 1000, 700, true, 60, true}, Printed::nothing},
    {{"--fullscreen"}, kPlay, kStart, Printed::nothing, "", kWindowedStart},
    {{"--size=800x600"}, kPlay, {true, 800, 600, true, 60, true}, Printed::nothing},
    {{"--size", "320x200"}, kPlay, {true, 320, 200, true, 60, true}, Printed::nothing},
    {{"--size", "16384x16384"}, kPlay, {true, 16384, 16384, true, 60, true}, Printed::nothing},
    {{"--mute"}, kPlay, {true, 1000, 700, true, 0, true}, Printed::nothing},
    {{"--no-vsync"}, kPlay, {true, 1000, 700, false, 60, true}, Printed::nothing},
    {{"--no-auto-pause"}, kPlay, {true, 1000, 700, true, 60, false}, Printed::nothing},
    {{"-display", ":5", "-geometry", "640x480+0+0", "-iconic", "-direct", "-indirect", "-gldebug", "-sync", "--mute"},
     kPlay, {true, 1000, 700, true, 0, true}, Printed::nothing},
    {{"-display", "--bogus"}, kPlay, kStart, Printed::nothing},
    {{"--help"}, kDone, kStart, Printed::help},
    {{"--mute", "--help", "--version"}, kDone, kStart, Printed::help},
    {{"--version"}, kDone, kStart, Printed::version},
    {{"--bogus"}, kBad, kStart, Printed::error, "\"--bogus\""},
    {{"--mute", "stray"}, kBad, kStart, Printed::error, "\"stray\""},
    {{"--mute=yes"}, kBad, kStart, Printed::error, "\"--mute=yes\""},
    {{"--help=me"}, kBad, kStart, Printed::error, "\"--help=me\""},
    {{"--mute", "--mute"}, kBad, kStart, Printed::error, "--mute is given twice"},
    {{"--windowed", "--fullscreen"}, kBad, kStart, Printed::error, "--windowed and --fullscreen"},
    {{"--size"}, kBad, kStart, Printed::error, "--size needs a value"},
    {{"-display"}, kBad, kStart, Printed::error, "-display needs a value"},
    {{"--size="}, kBad, kStart, Printed::error, "\"\""},
    {{"--size=800"}, kBad, kStart, Printed::error, "\"800\""},
    {{"--size", "x600"}, kBad, kStart, Printed::error, "\"x600\""},
    {{"--size", "800x600x2"}, kBad, kStart, Printed::error, "\"800x600x2\""},
    {{"--size", "-800x600"}, kBad, kStart, Printed::error, "\"-800x600\""},
    {{"--size", "+800x600"}, kBad, kStart, Printed::error, "\"+800x600\""},
    {{"--size", "0x0"}, kBad, kStart, Printed::error, "\"0x0\""},
    {{"--size", "319x200"}, kBad, kStart, Printed::error, "\"319x200\""},
    {{"--size", "320x199"}, kBad, kStart, Printed::error, "\"320x199\""},
    {{"--size", "16385x600"}, kBad, kStart, Printed::error, "\"16385x600\""},
    {{"--size", "800x16385"}, kBad, kStart, Printed::error, "\"800x16385\""},
    {{"--size", "800x99999999999999999999"}, kBad, kStart, Printed::error, "\"800x99999999999999999999\""},
    {{"--size", "000800x600"}, kBad, kStart, Printed::error, "\"000800x600\""},
    {{"--mu\x01te"}, kBad, kStart, Printed::error, "\"--mu\\x01te\""},
    {{"--size=800x600\n"}, kBad, kStart, Printed::error, "\"--size=800x600\\x0a\""},
    {{"--size", "800x600\xff"}, kBad, kStart, Printed::error, "\"800x600\\xff\""},
    {{kLongOption}, kBad, kStart, Printed::error, "\"" + kLongOption.substr(0, 64) + "\"..."},
};

TEST(CommandLine, EachArgumentListGivesItsVerdictSettingsAndOutput) {
    for (const Case& c : kCases) {
        std::string listed = "gorvanka";
        std::vector<char*> argv{listed.data()};
        std::vector<std::string> arguments = c.arguments;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        Settings settings = c.before;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const CommandLineVerdict verdict = applyCommandLine(int(argv.size()), argv.data(), &settings);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        for (const std::string& argument : c.arguments) listed += " " + argument;
        SCOPED_TRACE(listed);

        EXPECT_EQ(verdict, c.verdict);
        EXPECT_EQ(settings.fullscreen, c.after.fullscreen);
        EXPECT_EQ(settings.width, c.after.width);
        EXPECT_EQ(settings.height, c.after.height);
        EXPECT_EQ(settings.vsync, c.after.vsync);
        EXPECT_EQ(settings.volume, c.after.volume);
        EXPECT_EQ(settings.autoPause, c.after.autoPause);
        if (c.printed == Printed::help) {
            EXPECT_EQ(out, usageText());
        } else if (c.printed == Printed::version) {
            const size_t number = std::strlen("Gorvanka ");
            EXPECT_EQ(out.substr(0, number), "Gorvanka ");
            EXPECT_GT(out.size(), number + 1);
            EXPECT_EQ(out.find_first_not_of("0123456789.", number), out.size() - 1) << out;
        } else {
            EXPECT_EQ(out, "");
        }
        if (c.printed == Printed::error) {
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
            EXPECT_EQ(err.back(), '\n');
            EXPECT_NE(err.find(c.culprit), std::string::npos) << err;
        } else {
            EXPECT_EQ(err, "");
        }
    }
}

TEST(CommandLine, HelpNamesEveryOption) {
    for (const char* option : {"--help", "--version", "--windowed", "--fullscreen", "--size WxH", "--mute",
                               "--no-vsync", "--no-auto-pause", "-display NAME", "-geometry"})
        EXPECT_NE(std::string(usageText()).find(option), std::string::npos) << option;
}

}  // namespace
