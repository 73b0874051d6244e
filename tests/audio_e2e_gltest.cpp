// End to end: the real game's sound on SDL's disk driver, which writes the mix
// in real time as raw 16-bit stereo at 44100 Hz. Each of the six sounds is
// replaced by a tone of its own frequency, so the recording shows which is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/game_harness.h"

namespace fs = std::filesystem;

namespace {

const double kSampleRate = 44100;
const int kBytesPerFrame = 4;  // two 16-bit channels
const double kTrack1 = 300, kTrack2 = 500, kTrack3 = 700, kIdle = 900, kAcc = 1100, kMax = 1300;
const double kHeard = 1000, kSilent = 150;  // tone amplitude in sample units
// The top-speed loop follows 120 passes of the main loop, however slow they are.
const double kTopSpeedTimeoutSeconds = 60;
const int kMixWaitTries = 50;  // of 0.1 s

void makeTone(const fs::path& file, double seconds, double hz) {
    std::string command = "sox -n -r 44100 -c 2 '" + file.string() + "' synth " +
                          std::to_string(seconds) + " sine " + std::to_string(hz) + " gain -12";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

long long mixBytes(const fs::path& mix) {
    std::error_code error;
    long long size = (long long)fs::file_size(mix, error);
    return error ? 0 : size / kBytesPerFrame * kBytesPerFrame;
}

// `seconds` of the recording from byte `from` on, mixed down to mono. The disk
// driver falls a little behind the clock, so this waits for them to be written.
std::vector<float> readMix(const fs::path& mix, long long from, double seconds) {
    long long wanted = (long long)(seconds * kSampleRate) * kBytesPerFrame;
    for (int tries = 0; mixBytes(mix) < from + wanted && tries < kMixWaitTries; ++tries) waitSeconds(0.1);
    wanted = std::max(0LL, std::min(wanted, mixBytes(mix) - from));
    std::vector<int16_t> raw(size_t(wanted / 2));
    std::ifstream in(mix, std::ios::binary);
    in.seekg(from);
    in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size() * 2));
    std::vector<float> mono;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) mono.push_back((raw[i] + raw[i + 1]) / 2.0f);
    return mono;
}

// Amplitude of one frequency in a recording (Goertzel).
double tone(const std::vector<float>& s, double hz) {
    double k = 2 * std::cos(2 * M_PI * hz / kSampleRate), a = 0, b = 0;
    for (float x : s) { double c = x + k * a - b; b = a; a = c; }
    return s.empty() ? 0 : 2 * std::sqrt(std::max(0.0, a * a + b * b - k * a * b)) / double(s.size());
}

// What the game has played over the last half second, after the keys have settled.
std::vector<float> listen(const fs::path& mix) {
    const double kSeconds = 0.5;
    waitSeconds(0.8);
    long long bytes = (long long)(kSeconds * kSampleRate) * kBytesPerFrame;
    return readMix(mix, std::max(0LL, mixBytes(mix) - bytes), kSeconds);
}

}  // namespace

TEST(AudioEndToEnd, MusicFromLaunchEngineOnDrivingAndTheMusicKey) {
    fs::path dir = makeGameDirectory();
    fs::path audio = dir / "resources/audio";
    fs::create_directories(audio);
    makeTone(audio / "katyusha.mp3", 60, kTrack1);
    makeTone(audio / "redalert.mp3", 60, kTrack2);
    makeTone(audio / "metal_ussr.mp3", 60, kTrack3);
    makeTone(audio / "engineidle.mp3", 2, kIdle);
    makeTone(audio / "engineacc.mp3", 2, kAcc);
    makeTone(audio / "enginemaxspeed.mp3", 2, kMax);
    fs::path mix = dir / "mix.raw";
    GameRun game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + mix.string()}, dir.string());
    ASSERT_TRUE(game.waitForWindow());

    std::vector<float> opening = listen(mix);
    EXPECT_GT(tone(opening, kTrack1), kHeard);
    for (double hz : {kTrack2, kTrack3, kIdle, kAcc, kMax}) EXPECT_LT(tone(opening, hz), kSilent) << hz;

    // Off the level banner, which resumes track 1 in every frame it shows.
    game.key("Home");
    waitSeconds(1);
    game.key("m");
    EXPECT_LT(tone(listen(mix), kTrack1), kSilent);
    game.key("m");
    std::vector<float> resumed = listen(mix);
    EXPECT_GT(tone(resumed, kTrack1), kHeard);
    for (double hz : {kIdle, kAcc, kMax}) EXPECT_LT(tone(resumed, hz), kSilent) << hz;

    // Walk the recording from the press on: the accelerating loop, then the top-speed one.
    const double kStep = 0.25;
    const long long kStepBytes = (long long)(kStep * kSampleRate) * kBytesPerFrame;
    double accelerating = -1, topSpeed = -1;
    long long at = mixBytes(mix);
    game.keyDown("w");
    for (double t = 0; topSpeed < 0 && t < kTopSpeedTimeoutSeconds; t += kStep, at += kStepBytes) {
        std::vector<float> part = readMix(mix, at, kStep);
        if (accelerating < 0 && tone(part, kAcc) > kHeard) accelerating = t;
        if (tone(part, kMax) > kHeard && tone(part, kAcc) < kSilent) topSpeed = t;
    }
    game.keyUp("w");
    EXPECT_GE(accelerating, 0) << "the accelerating loop was never heard";
    EXPECT_GT(topSpeed, accelerating) << "the top-speed loop did not follow the accelerating one";

    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}
