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
const ToneSound kToneSounds[] = {{"katyusha", kTrack1}, {"redalert", kTrack2}, {"metal_ussr", kTrack3},
                                 {"engineidle", kIdle}, {"engineacc", kAcc},   {"enginemaxspeed", kMax}};

std::string sine(double seconds, double hz);  // as sox effects
// Writes DIR/resources/audio/NAME.mp3 from sox effects.
void writeSound(const std::string& dir, const std::string& name, const std::string& effects);
// All six: music lasting musicSeconds, engine loops engineSeconds.
void writeToneSounds(const std::string& dir, double musicSeconds, double engineSeconds);

// Amplitude of hz in samples [begin, end) of a 44100 Hz mono recording.
double toneLevel(const std::vector<float>& samples, double hz, size_t begin, size_t end);
// Whether the samples from begin on hold the wanted tones and none of the other six.
bool hearsOnly(const std::vector<float>& samples, size_t begin, std::initializer_list<double> wanted);
