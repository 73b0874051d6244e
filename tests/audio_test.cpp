// The game's sounds on the dummy driver, each a tone of its own, told apart in the captured mix; measured in samples
// mixed, never in time waited, so a busy machine changes nothing. Sounds not written here are missing.
#include "audio/sounds.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace fs = std::filesystem;

namespace {

// Each sound's tone in Hz; track 1 changes tone after 1.2 s.
const double kTrack1 = 300, kTrack1Later = 1700, kTrack3 = 700, kIdle = 900, kTopSpeed = 1100;
const double kTones[] = {kTrack1, kTrack3, kIdle, kTopSpeed};
const double kHeard = 1000, kSilent = 150;  // amplitude in sample units
const fs::path kFixtures = fs::temp_directory_path() / ("gorvanka_audio_" + std::to_string(getpid()));

std::string tone(double s, double hz) { return "synth " + std::to_string(s) + " sine " + std::to_string(hz); }

// Goertzel: the amplitude of one frequency in samples [begin, end) at 44100 Hz.
double level(const std::vector<float>& s, double hz, size_t begin, size_t end) {
    double k = 2 * std::cos(2 * M_PI * hz / 44100), a = 0, b = 0;
    for (size_t i = begin; i < end; ++i) b = std::exchange(a, s[i] + k * a - b);
    return end > begin ? 2 * std::sqrt(std::max(0.0, a * a + b * b - k * a * b)) / double(end - begin) : 0;
}

// Whether the samples hold the wanted tones and none of the others.
bool hearsOnly(const std::vector<float>& s, std::initializer_list<double> wanted) {
    return std::all_of(std::begin(kTones), std::end(kTones), [&](double hz) {
        double heard = level(s, hz, 0, s.size());
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

// The next ms of the mix, however slowly it comes, with the main loop's update meanwhile (calls take the mixer's lock).
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
        if (hearsOnly(listen(200), wanted)) return true;
    return false;
}

// Start-up's audio, run from dir as the working directory, with the mix captured.
void startAudioIn(const fs::path& dir) { fs::current_path(dir), startAudio(), Mix_SetPostMix(captureMix, nullptr); }

// The sound files, made once for the run; without a session bus, SDL's libdbus would start one through X, and leak.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
        fs::create_directories(kFixtures / "resources/audio");
        for (auto [name, tones] : {std::pair{"katyusha", tone(1.2, kTrack1) + " : " + tone(1.0, kTrack1Later)},
                                   {"metal_ussr", tone(0.6, kTrack3)}, {"engineidle", tone(0.3, kIdle)},
                                   {"enginemaxspeed", tone(0.3, kTopSpeed)}}) {
            const fs::path mp3 = kFixtures / "resources/audio" / (std::string(name) + ".mp3");
            ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 " + mp3.string() + " " + tones + " gain -12").c_str()), 0);
        }
    }
    static void TearDownTestSuite() { fs::remove_all(kFixtures); }
    void TearDown() override { releaseAudio(); }
};

// Paused, track 1 (1.2 s of one tone, 120 stretches, and 1 s of another) keeps its place: of the first tone neither
// all (a restart) nor none (a track run on while paused) is left. The engine loop goes on; volume 0 and a hold silence.
TEST_F(AudioTest, PausedTrackResumesInPlaceAndEndsWhileTheEngineLoops) {
    startAudioIn(kFixtures);
    ASSERT_TRUE(hearsSoon({kTrack1}));
    toggleMusic();
    EXPECT_TRUE(hearsOnly(listen(1000), {}));
    toggleMusic();
    const std::vector<float> resumed = listen(2500);
    int first = 0, later = 0;  // 10 ms stretches of each tone
    for (size_t at = 0; at + 441 <= resumed.size(); at += 441) {
        first += level(resumed, kTrack1, at, at + 441) > kHeard;
        later += level(resumed, kTrack1Later, at, at + 441) > kHeard;
    }
    EXPECT_TRUE(first >= 1 && first <= 110) << "the rest of the first tone: " << first << " stretches";
    EXPECT_NEAR(later, 100, 3) << "the second tone, once";
    selectEngineSound(EngineSound::idle);
    EXPECT_TRUE(hearsOnly(listen(300), {kIdle})) << "track 1 is over, the engine goes on";
    selectEngineSound(EngineSound::topSpeed);
    EXPECT_TRUE(hearsOnly(listen(300), {kTopSpeed})) << "the top-speed loop in its place";
    selectEngineSound(EngineSound::idle);
    setSoundVolume(0);
    EXPECT_TRUE(hearsOnly(listen(300), {})) << "at volume 0";
    setSoundVolume(100), holdAllSound(true);
    selectEngineSound(EngineSound::idle);
    EXPECT_TRUE(hearsOnly(listen(300), {})) << "held, whatever the game asks of a channel meanwhile";
    holdAllSound(false);
    EXPECT_TRUE(hearsOnly(listen(300), {kIdle})) << "and let go again";
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
    EXPECT_TRUE(hearsOnly(listen(300), {})) << "the engine loop with no audio";
    for (int track : {2, 3}) {
        playOnlyLevelTrack(track);
        EXPECT_TRUE(hearsOnly(listen(300), {})) << "track " << track;
    }
}

}  // namespace
