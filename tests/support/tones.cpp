#include "tests/support/tones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {
const double kRate = 44100;
}  // namespace

std::string sine(double seconds, double hz) {
    return "synth " + std::to_string(seconds) + " sine " + std::to_string(hz) + " gain -12";
}

void writeSound(const std::string& dir, const std::string& name, const std::string& effects) {
    std::filesystem::path audio = std::filesystem::path(dir) / "resources/audio";
    std::filesystem::create_directories(audio);
    std::string command = "sox -n -r 44100 -c 2 '" + (audio / name).string() + ".mp3' " + effects;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

void writeToneSounds(const std::string& dir, double musicSeconds, double engineSeconds) {
    for (const ToneSound& sound : kToneSounds)
        writeSound(dir, sound.name, sine(sound.hz < kIdle ? musicSeconds : engineSeconds, sound.hz));
}

// Goertzel: one frequency bin without a whole transform.
double toneLevel(const std::vector<float>& s, double hz, size_t begin, size_t end) {
    double k = 2 * std::cos(2 * M_PI * hz / kRate), a = 0, b = 0;
    for (size_t i = begin; i < end; ++i) {
        double c = s[i] + k * a - b;
        b = a;
        a = c;
    }
    return end > begin ? 2 * std::sqrt(std::max(0.0, a * a + b * b - k * a * b)) / double(end - begin) : 0;
}

bool hearsOnly(const std::vector<float>& s, size_t begin, std::initializer_list<double> wanted) {
    for (const ToneSound& sound : kToneSounds) {
        double level = toneLevel(s, sound.hz, begin, s.size());
        bool isWanted = std::count(wanted.begin(), wanted.end(), sound.hz) > 0;
        if (isWanted ? level <= kToneHeard : level >= kToneSilent) return false;
    }
    return true;
}
