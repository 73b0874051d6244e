// The game's sounds on the dummy driver: the mix is captured and each sound is
// a tone of its own frequency, so the test can tell which ones are heard.
#include "audio/sounds.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const double kSampleRate = 44100;
// Track 1 changes tone part-way, so where it resumes shows in the mix.
const double kTrack1Start = 300, kTrack1End = 1700;
const double kTrack2 = 500, kTrack3 = 700, kIdle = 900, kAcc = 1100, kMax = 1300;
const double kHeard = 1000, kSilent = 150;  // tone amplitude in sample units

std::mutex captureMutex;
std::vector<float> captured;

void captureMix(void*, Uint8* stream, int bytes) {
    const Sint16* frames = reinterpret_cast<const Sint16*>(stream);
    std::lock_guard<std::mutex> lock(captureMutex);
    for (int i = 0; i + 1 < bytes / 2; i += 2) captured.push_back((frames[i] + frames[i + 1]) / 2.0f);
}

// What the mix held over the next ms milliseconds, after a pass in flight has gone.
std::vector<float> listen(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    { std::lock_guard<std::mutex> lock(captureMutex); captured.clear(); }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    std::lock_guard<std::mutex> lock(captureMutex);
    return captured;
}

// Amplitude of one frequency in samples [from, to) of a recording (Goertzel).
double tone(const std::vector<float>& s, double hz, double from = 0, double to = 1) {
    size_t begin = size_t(from * s.size()), end = size_t(to * s.size());
    double k = 2 * std::cos(2 * M_PI * hz / kSampleRate), a = 0, b = 0;
    for (size_t i = begin; i < end; ++i) { double c = s[i] + k * a - b; b = a; a = c; }
    double n = double(end - begin);
    return n > 0 ? 2 * std::sqrt(std::max(0.0, a * a + b * b - k * a * b)) / n : 0;
}

void makeTone(const fs::path& file, double seconds, double hz) {
    std::string command = "sox -n -r 44100 -c 2 '" + file.string() + "' synth " +
                          std::to_string(seconds) + " sine " + std::to_string(hz) + " gain -12";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class AudioTest : public ::testing::Test {
protected:
    static fs::path fixtures;
    fs::path home = fs::current_path();

    static void SetUpTestSuite() {
        fixtures = fs::temp_directory_path() / ("gorvanka_audio_" + std::to_string(getpid()));
        fs::path audio = fixtures / "resources/audio";
        fs::create_directories(audio);
        makeTone(fixtures / "a.wav", 1.2, kTrack1Start);
        makeTone(fixtures / "b.wav", 1.0, kTrack1End);
        std::string join = "sox '" + (fixtures / "a.wav").string() + "' '" + (fixtures / "b.wav").string() +
                           "' '" + (audio / "katyusha.mp3").string() + "'";
        ASSERT_EQ(std::system(join.c_str()), 0);
        makeTone(audio / "redalert.mp3", 0.6, kTrack2);
        makeTone(audio / "metal_ussr.mp3", 0.6, kTrack3);
        makeTone(audio / "engineidle.mp3", 0.3, kIdle);
        makeTone(audio / "engineacc.mp3", 0.3, kAcc);
        makeTone(audio / "enginemaxspeed.mp3", 0.3, kMax);
    }
    static void TearDownTestSuite() { fs::remove_all(fixtures); }
    void TearDown() override {
        releaseAudio();
        fs::current_path(home);
    }

    // Start-up's audio steps, run from dir as the working directory.
    void startAudioIn(const fs::path& dir) {
        fs::current_path(dir);
        initAudio();
        Mix_SetPostMix(captureMix, nullptr);
        startMusicTrack1();
        startMusicTrack2();
        startMusicTrack3();
        startEngineIdleSound();
        startEngineMaxSound();
        startEngineAccSound();
    }
};
fs::path AudioTest::fixtures;

TEST_F(AudioTest, OnlyTrackOneIsHeardUntilAnotherChannelIsResumed) {
    startAudioIn(fixtures);
    std::vector<float> first = listen(300);
    EXPECT_GT(tone(first, kTrack1Start), kHeard);
    for (double hz : {kTrack2, kTrack3, kIdle, kAcc, kMax}) EXPECT_LT(tone(first, hz), kSilent) << hz;

    setChannelPaused(musicChannel1, true);
    FMOD::Channel* others[] = {musicChannel2, musicChannel3, engineIdleChannel, engineAccChannel, engineMaxChannel};
    double tones[] = {kTrack2, kTrack3, kIdle, kAcc, kMax};
    for (int i = 0; i < 5; ++i) {
        setChannelPaused(others[i], false);
        std::vector<float> heard = listen(150);
        setChannelPaused(others[i], true);
        EXPECT_GT(tone(heard, tones[i]), kHeard) << tones[i];
        for (int j = 0; j < 5; ++j) {
            if (j != i) {
                EXPECT_LT(tone(heard, tones[j]), kSilent) << tones[i] << " with " << tones[j];
            }
        }
    }
}

TEST_F(AudioTest, EngineLoopsRepeatPastTheirLength) {
    startAudioIn(fixtures);
    setChannelPaused(musicChannel1, true);
    for (FMOD::Channel* engine : {engineIdleChannel, engineAccChannel, engineMaxChannel}) setChannelPaused(engine, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
    std::vector<float> later = listen(300);
    for (double hz : {kIdle, kAcc, kMax}) EXPECT_GT(tone(later, hz), kHeard) << hz;
}

TEST_F(AudioTest, PauseSilencesAndResumeContinuesWhereItStopped) {
    startAudioIn(fixtures);
    listen(350);
    setChannelPaused(musicChannel1, true);
    EXPECT_LT(tone(listen(1000), kTrack1Start), kSilent);
    setChannelPaused(musicChannel1, false);
    std::vector<float> resumed = listen(1200);
    // Neither from the start (no second tone yet) nor advanced while paused (no first tone).
    EXPECT_GT(tone(resumed, kTrack1Start, 0, 0.15), kHeard);
    EXPECT_GT(tone(resumed, kTrack1End, 0.75, 1), kHeard);
}

TEST_F(AudioTest, EndedTrackStaysSilentAndItsStaleChannelTouchesNothing) {
    startAudioIn(fixtures);
    setChannelPaused(musicChannel1, true);
    setChannelPaused(musicChannel2, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_LT(tone(listen(600), kTrack2), kSilent);
    updateAudio();
    EXPECT_EQ(musicChannel2->setPaused(false), FMOD_ERR_INVALID_HANDLE);

    // The mixer hands the freed voice to the next sound; the old handle must not reach it.
    FMOD::Channel* newcomer = nullptr;
    ASSERT_EQ(fmodSystem->playSound(FMOD_CHANNEL_FREE, musicSound3, true, &newcomer), FMOD_OK);
    ASSERT_EQ(newcomer->voice, musicChannel2->voice);
    setChannelPaused(musicChannel2, false);
    EXPECT_LT(tone(listen(200), kTrack3), kSilent);
    setChannelPaused(newcomer, false);
    setChannelPaused(musicChannel2, true);
    EXPECT_GT(tone(listen(200), kTrack3), kHeard);
}

TEST_F(AudioTest, MissingOrBadFilesLeaveTheirSoundsOutAndTheGameRuns) {
    fs::path missing = fixtures / "missing", bad = fixtures / "bad";
    fs::create_directories(missing);
    fs::create_directories(bad);
    fs::copy(fixtures / "resources", bad / "resources", fs::copy_options::recursive);
    std::ofstream(bad / "resources/audio/katyusha.mp3") << "not a sound at all\n";
    std::ofstream(bad / "resources/audio/redalert.mp3", std::ios::trunc);
    fs::remove(bad / "resources/audio/metal_ussr.mp3");
    fs::create_directory(bad / "resources/audio/metal_ussr.mp3");
    std::ofstream(bad / "resources/audio/engineacc.mp3") << std::string("ID3\x04\0\0\x7f\x7f\x7f\x7f", 10);

    startAudioIn(missing);
    for (FMOD::Channel* c : {musicChannel1, musicChannel2, musicChannel3, engineIdleChannel, engineAccChannel, engineMaxChannel}) {
        EXPECT_EQ(c, nullptr);
        setChannelPaused(c, false);
    }
    updateAudio();
    std::vector<float> quiet = listen(200);
    for (float sample : quiet) ASSERT_EQ(sample, 0);
    releaseAudio();

    startAudioIn(bad);
    EXPECT_EQ(musicSound1, nullptr);
    EXPECT_EQ(musicSound2, nullptr);
    EXPECT_EQ(musicChannel3, nullptr);
    EXPECT_EQ(engineAccChannel, nullptr);
    EXPECT_LT(tone(listen(200), kTrack1Start), kSilent);
    setChannelPaused(engineIdleChannel, false);
    EXPECT_GT(tone(listen(200), kIdle), kHeard);
}

TEST_F(AudioTest, SystemLifecycle) {
    updateAudio();
    releaseAudio();

    // A system that cannot be created ends the game with status -1.
    FMOD::System* held = nullptr;
    ASSERT_EQ(FMOD_System_Create(&held), FMOD_OK);
    EXPECT_EXIT(initAudio(), ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(held->release(), FMOD_OK);

    // No sound device: the dummy output takes over and says so.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ::testing::internal::CaptureStdout();
    startAudioIn(fixtures);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("without sound"), std::string::npos);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Ctrl-C and SIGTERM still end the game.
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action;
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
    EXPECT_EQ(fmodSystem->update(), FMOD_OK);
    FMOD::Channel* none = engineIdleChannel;
    EXPECT_EQ(fmodSystem->playSound(FMOD_CHANNEL_FREE, nullptr, false, &none), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(none, nullptr);

    releaseAudio();
    EXPECT_EQ(fmodSystem, nullptr);
    EXPECT_EQ(musicChannel1, nullptr);
    releaseAudio();
    startAudioIn(fixtures);
    EXPECT_GT(tone(listen(200), kTrack1Start), kHeard);
}

}  // namespace
