// The game's sounds on the dummy driver: each is a tone of its own frequency and the mix is captured, so the test
// can tell which are heard. Everything is measured in samples mixed, never in time waited, so a busy machine that
// mixes late changes nothing. The sounds not written here are missing, as a broken install would leave them.
#include "audio/sounds.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace fs = std::filesystem;

namespace {

const double kTrack1 = 300, kTrack1Later = 1700, kTrack3 = 700, kIdle = 900;  // track 1 changes tone after 1.2 s
const double kTones[] = {kTrack1, kTrack3, kIdle};
const double kHeard = 1000, kSilent = 150;  // amplitude in sample units
const fs::path kFixtures = fs::temp_directory_path() / ("gorvanka_audio_" + std::to_string(getpid()));

std::string tone(double seconds, double hz) {
    return "synth " + std::to_string(seconds) + " sine " + std::to_string(hz) + " gain -12";
}

// Goertzel: the amplitude of one frequency in samples [begin, end) at 44100 Hz.
double level(const std::vector<float>& s, double hz, size_t begin, size_t end) {
    double k = 2 * std::cos(2 * M_PI * hz / 44100), a = 0, b = 0;
    for (size_t i = begin; i < end; ++i) b = std::exchange(a, s[i] + k * a - b);
    return end > begin ? 2 * std::sqrt(std::max(0.0, a * a + b * b - k * a * b)) / double(end - begin) : 0;
}

// Whether the samples from begin on hold the wanted tones and none of the others.
bool hearsOnly(const std::vector<float>& s, size_t begin, std::initializer_list<double> wanted) {
    return std::all_of(std::begin(kTones), std::end(kTones), [&](double hz) {
        double heard = level(s, hz, begin, s.size());
        return std::count(wanted.begin(), wanted.end(), hz) ? heard > kHeard : heard < kSilent;
    });
}

std::mutex captureMutex;
std::vector<float> captured;

void captureMix(void*, Uint8* stream, int bytes) {
    const Sint16* frames = reinterpret_cast<const Sint16*>(stream);
    std::lock_guard<std::mutex> lock(captureMutex);
    for (int i = 0; i + 1 < bytes / 2; i += 2) captured.push_back((frames[i] + frames[i + 1]) / 2.0f);
}

// The mix from now on, until it holds ms milliseconds of sound, however slowly a busy machine mixes it; the main
// loop's update runs meanwhile. Anything mixed before the call is not in it: the layer's calls take the mixer's lock.
std::vector<float> listen(int ms) {
    { std::lock_guard<std::mutex> lock(captureMutex); captured.clear(); }
    const size_t wanted = size_t(ms) * 44100 / 1000;
    for (int waited = 0; waited < 60000; waited += 10) {
        updateAudio();
        SDL_Delay(10);
        std::lock_guard<std::mutex> lock(captureMutex);
        if (captured.size() >= wanted) return std::vector<float>(captured.begin(), captured.begin() + long(wanted));
    }
    ADD_FAILURE() << "the mixer fell silent";
    return {};
}

// Waits for a mix of just the wanted tones: the sounds decode meanwhile.
bool hearsSoon(std::initializer_list<double> wanted) {
    for (int tries = 0; tries < 100; ++tries)
        if (hearsOnly(listen(200), 0, wanted)) return true;
    return false;
}

// How many 10 ms stretches of the mix carry each tone.
std::map<double, int> stretchesOf(const std::vector<float>& s, std::initializer_list<double> tones) {
    std::map<double, int> counts;
    for (size_t at = 0; at + 441 <= s.size(); at += 441)
        for (double hz : tones) counts[hz] += level(s, hz, at, at + 441) > kHeard;
    return counts;
}

// Start-up's audio, run from dir as the working directory, with the mix captured.
void startAudioIn(const fs::path& dir) {
    fs::current_path(dir);
    startAudio();
    Mix_SetPostMix(captureMix, nullptr);
}

// The sound files, written once for the whole run and removed at its end. Without a session bus SDL has libdbus
// start one through the X display, which leaks.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
        fs::create_directories(kFixtures / "resources/audio");
        for (auto [name, tones] : {std::pair{"katyusha", tone(1.2, kTrack1) + " : " + tone(1.0, kTrack1Later)},
                                   {"metal_ussr", tone(0.6, kTrack3)}, {"engineidle", tone(0.3, kIdle)}}) {
            std::string mp3 = (kFixtures / "resources/audio" / name).string() + ".mp3";
            ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 " + mp3 + " " + tones).c_str()), 0) << name;
        }
    }
    static void TearDownTestSuite() { fs::remove_all(kFixtures); }
    void TearDown() override { releaseAudio(); }
};

// Paused, track 1 keeps its place; resumed, it plays on from there to its end, once, while the engine loop goes on,
// quiet at volume 0 and held with every sound for a pause.
// Track 1 is 1.2 s (120 stretches) of one tone and 1 s of another; about 0.2 s of the first was heard before the
// pause, so neither all of it (a restart) nor none of it (a track that ran on while paused) is left.
TEST_F(AudioTest, PausedTrackResumesInPlaceAndEndsWhileTheEngineLoops) {
    startAudioIn(kFixtures);
    ASSERT_TRUE(hearsSoon({kTrack1}));
    toggleMusic();
    EXPECT_TRUE(hearsOnly(listen(1000), 0, {}));
    toggleMusic();
    const std::map<double, int> resumed = stretchesOf(listen(2500), {kTrack1, kTrack1Later});
    EXPECT_TRUE(resumed.at(kTrack1) >= 1 && resumed.at(kTrack1) <= 110) << "the rest of the first tone: "
                                                                         << resumed.at(kTrack1) << " stretches";
    EXPECT_NEAR(resumed.at(kTrack1Later), 100, 3) << "the second tone, once";
    selectEngineSound(EngineSound::idle);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {kIdle})) << "track 1 is over, the engine goes on";
    setSoundVolume(0);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {})) << "at volume 0";
    setSoundVolume(100);
    holdAllSound(true);
    selectEngineSound(EngineSound::idle);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {})) << "held, whatever the game asks of a channel meanwhile";
    holdAllSound(false);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {kIdle})) << "and let go again";
}

TEST_F(AudioTest, MissingOrBadFilesLeaveTheirSoundsOutAndTheGameRuns) {
    const fs::path bad = kFixtures / "bad", audio = bad / "resources/audio";  // the rest missing
    fs::create_directories(audio);
    fs::copy(kFixtures / "resources/audio/engineidle.mp3", audio);
    std::ofstream(audio / "katyusha.mp3") << "not a sound at all\n";
    std::ofstream(audio / "redalert.mp3");
    std::ofstream(audio / "engineacc.mp3") << std::string("ID3\x04\0\0\x7f\x7f\x7f\x7f", 10);  // a tag, no audio
    startAudioIn(bad);
    selectEngineSound(EngineSound::idle);
    EXPECT_TRUE(hearsSoon({kIdle})) << "the good engine loop alone, track 1 silent";
    selectEngineSound(EngineSound::accelerating);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {})) << "the engine loop with no audio";
    for (int track : {2, 3}) {
        playOnlyLevelTrack(track);
        EXPECT_TRUE(hearsOnly(listen(300), 0, {})) << "track " << track;
    }
}

}  // namespace
