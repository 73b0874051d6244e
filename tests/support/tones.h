#pragma once
// The game's six sounds replaced by sine tones of their own frequencies, so that
// a recording of the mix shows which ones are heard.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

const double kTrack1 = 300, kTrack2 = 500, kTrack3 = 700, kIdle = 900, kAcc = 1100, kMax = 1300;
const double kToneHeard = 1000, kToneSilent = 150;  // amplitude in sample units

struct ToneSound {
    const char* name;  // resources/audio/NAME.mp3
    double hz;
};
const ToneSound kToneSounds[] = {{"katyusha", kTrack1},   {"redalert", kTrack2}, {"metal_ussr", kTrack3},
                                 {"engineidle", kIdle},   {"engineacc", kAcc},   {"enginemaxspeed", kMax}};

// sox effects for a sine of hz lasting seconds.
std::string sine(double seconds, double hz);
// Writes DIR/resources/audio/NAME.mp3 from sox effects; fails the test when sox does.
void writeSound(const std::string& dir, const std::string& name, const std::string& effects);
// All six sounds: music lasting musicSeconds, engine loops engineSeconds.
void writeToneSounds(const std::string& dir, double musicSeconds, double engineSeconds);

// Amplitude of hz in samples [begin, end) of a 44100 Hz mono recording (Goertzel).
double toneLevel(const std::vector<float>& samples, double hz, size_t begin, size_t end);
// Whether samples [begin, end) hold the wanted tones and none of the six others.
bool hearsOnly(const std::vector<float>& samples, size_t begin, std::initializer_list<double> wanted);
