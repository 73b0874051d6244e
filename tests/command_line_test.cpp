#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

// Not the defaults, so that an option left out is seen to leave its setting as it was.
const Settings kStart{true, 1000, 700, true, 60, true};
const CommandLineVerdict kPlay = CommandLineVerdict::play, kDone = CommandLineVerdict::exitSuccess;

struct Case {
    std::vector<std::string> arguments;  // after the program's name
    std::string printed;                 // on standard output, or the error on standard error
    CommandLineVerdict verdict = CommandLineVerdict::exitBadUsage;
    Settings after = kStart;  // {fullscreen, width, height, vsync, volume, autoPause}
    Settings before = kStart;
};

Case badSize(const std::string& size) {
    return {{"--size=" + size}, "bad window size \"" + size + "\" (WIDTHxHEIGHT, from 320x200 to 16384x16384)"};
}

const Case kCases[] = {
    {{"--windowed", "--size=800x600", "--mute", "--no-vsync", "--no-auto-pause"}, "", kPlay,
     {false, 800, 600, false, 0, false}},
    {{"--fullscreen", "--size", "320x200"}, "", kPlay, {true, 320, 200, true, 60, true},
     {false, 1000, 700, true, 60, true}},
    // The X options' values are stepped over even where they look like the game's.
    {{"-display", "--mute", "-geometry", "1x1", "-iconic", "-direct", "-indirect", "-gldebug", "-sync", "--size",
      "16384x16384"}, "", kPlay, {true, 16384, 16384, true, 60, true}},
    {{"--mute", "--help", "--version"}, usageText(), kDone}, {{"--version"}, "Gorvanka N\n", kDone},
    {{"--bogus"}, "unknown option \"--bogus\""}, {{"--mute", "stray"}, "unexpected argument \"stray\""},
    {{"--mute=yes"}, "--mute takes no value: \"--mute=yes\""}, {{"--mute", "--mute"}, "--mute is given twice"},
    {{"--windowed", "--fullscreen"}, "--windowed and --fullscreen contradict each other"},
    {{"--size"}, "--size needs a value, WIDTHxHEIGHT"}, {{"-display"}, "-display needs a value"},
    badSize("800"), badSize("800x600x2"), badSize("800x99999999999999999999"), badSize("319x200"),
    badSize("320x199"), badSize("16385x600"), badSize("800x16385"),
    {{"--mute", "--mu\x01te"}, "unprintable bytes in the argument \"--mu\\x01te\""},
    {{"--size", "800x600\xff"}, "unprintable bytes in the argument \"800x600\\xff\""},
    {{"--" + std::string(300, 'q')}, "unknown option \"--" + std::string(62, 'q') + "\"..."}};

auto fields(Settings s) { return std::make_tuple(s.fullscreen, s.width, s.height, s.vsync, s.volume, s.autoPause); }

TEST(CommandLine, EachArgumentListGivesItsVerdictSettingsAndOutput) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        std::vector<std::vector<char>> arguments{{'g', '\0'}};  // each in a block of its size, to catch a read past it
        for (const std::string& a : c.arguments) arguments.emplace_back(a.c_str(), a.c_str() + a.size() + 1);
        std::vector<char*> argv;
        for (std::vector<char>& argument : arguments) argv.push_back(argument.data());
        Settings settings = c.before;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const CommandLineVerdict verdict = applyCommandLine(int(argv.size()), argv.data(), &settings);
        std::string out = testing::internal::GetCapturedStdout();  // the version's number, new each release, reads N
        const size_t number = out.rfind("Gorvanka ", 0) == 0 ? out.find_first_not_of("0123456789.", 9) : 9;
        if (number > 9) out.replace(9, number - 9, "N");
        const std::string err = testing::internal::GetCapturedStderr();
        const bool bad = c.verdict == CommandLineVerdict::exitBadUsage;
        EXPECT_TRUE(verdict == c.verdict && fields(settings) == fields(c.after));
        EXPECT_EQ(out, bad ? "" : c.printed);
        EXPECT_EQ(err, bad ? "Gorvanka: " + c.printed + "; see gorvanka --help\n" : "");
    }
}

}  // namespace
