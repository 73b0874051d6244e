// End to end: the real game's sound on SDL's disk driver, which writes the mix
// in real time as raw 16-bit stereo at 44100 Hz, each sound a tone of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/game_harness.h"
#include "tests/support/tones.h"

namespace fs = std::filesystem;

namespace {

const size_t kRate = 44100;
// The top-speed loop follows 120 passes of the main loop, however slow they are.
const int kTopSpeedTimeoutSteps = 240;  // of a quarter second
const int kSettleTries = 60;            // of a quarter second

// The whole recording so far, mixed down to mono.
std::vector<float> recording(const fs::path& mix) {
    std::ifstream in(mix, std::ios::binary | std::ios::ate);
    std::vector<int16_t> raw(in ? size_t(in.tellg()) / 4 * 2 : 0);
    in.seekg(0).read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size() * 2));
    std::vector<float> mono(raw.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = (raw[2 * i] + raw[2 * i + 1]) / 2.0f;
    return mono;
}

// Waits until the last half second of the recording holds the wanted tones
// and none of the others; key presses take a frame or more to be heard.
bool soundsLike(const fs::path& mix, std::initializer_list<double> wanted) {
    for (int tries = 0; tries < kSettleTries; ++tries) {
        waitSeconds(0.25);
        std::vector<float> s = recording(mix);
        if (hearsOnly(s, s.size() - std::min(s.size(), kRate / 2), wanted)) return true;
    }
    return false;
}

}  // namespace

TEST(AudioEndToEnd, MusicFromLaunchEngineOnDrivingAndTheMusicKey) {
    fs::path dir = makeGameDirectory(), mix = dir / "mix.raw";
    writeToneSounds(dir, 60, 2);
    GameRun game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + mix.string()}, dir.string());
    ASSERT_TRUE(game.waitForWindow());
    EXPECT_TRUE(soundsLike(mix, {kTrack1})) << "track 1 alone at launch";

    // Off the level banner, which resumes track 1 in every frame it shows. The
    // toggle's message says that Home has been handled, so the next frame starts the level.
    size_t printed = game.output().size();
    game.key("Home");
    game.key("F9");
    ASSERT_TRUE(game.waitForOutput("Transparancy", 20, printed));
    game.key("m");
    EXPECT_TRUE(soundsLike(mix, {})) << "'m' silences track 1";
    game.key("m");
    EXPECT_TRUE(soundsLike(mix, {kTrack1})) << "a second 'm' brings it back, still no engine";

    // Walk the recording from the press on: the accelerating loop, then the top-speed one.
    const size_t kStep = kRate / 4;
    int accelerating = -1, topSpeed = -1;
    size_t at = recording(mix).size();
    game.keyDown("w");
    for (int step = 0; topSpeed < 0 && step < kTopSpeedTimeoutSteps; ++step, at += kStep) {
        std::vector<float> s = recording(mix);
        for (int wait = 0; s.size() < at + kStep && wait < 50; ++wait, s = recording(mix)) waitSeconds(0.1);
        size_t end = std::min(s.size(), at + kStep);
        double acc = toneLevel(s, kAcc, at, end), max = toneLevel(s, kMax, at, end);
        if (accelerating < 0 && acc > kToneHeard) accelerating = step;
        if (max > kToneHeard && acc < kToneSilent) topSpeed = step;
    }
    game.keyUp("w");
    EXPECT_GE(accelerating, 0) << "the accelerating loop was never heard";
    EXPECT_GT(topSpeed, accelerating) << "the top-speed loop did not follow the accelerating one";

    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}
