// The game's sounds on the dummy driver: the mix is captured and each sound is
// a tone of its own frequency, so the test can tell which ones are heard.
#include "audio/sounds.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>

#include "tests/support/tones.h"

namespace fs = std::filesystem;

namespace {

// Track 1 changes tone after 1.2 s, so where it resumes shows in the mix.
const double kTrack1Later = 1700;

std::mutex captureMutex;
std::vector<float> captured;

void captureMix(void*, Uint8* stream, int bytes) {
    const Sint16* frames = reinterpret_cast<const Sint16*>(stream);
    std::lock_guard<std::mutex> lock(captureMutex);
    for (int i = 0; i + 1 < bytes / 2; i += 2) captured.push_back((frames[i] + frames[i + 1]) / 2.0f);
}

// The mix over the next ms milliseconds, once a mixing pass in flight has gone.
std::vector<float> listen(int ms) {
    SDL_Delay(60);
    { std::lock_guard<std::mutex> lock(captureMutex); captured.clear(); }
    SDL_Delay(ms);
    std::lock_guard<std::mutex> lock(captureMutex);
    return captured;
}

// The level of hz in the part [from, to) of a recording.
double level(const std::vector<float>& s, double hz, double from = 0, double to = 1) {
    return toneLevel(s, hz, size_t(from * s.size()), size_t(to * s.size()));
}

// In the order of kToneSounds.
std::vector<FMOD::Channel*> channels() {
    return {musicChannel1, musicChannel2, musicChannel3, engineIdleChannel, engineAccChannel, engineMaxChannel};
}

fs::path fixtures;

class AudioTest : public ::testing::Test {
protected:
    fs::path home = fs::current_path();

    static void SetUpTestSuite() {
        // Without a session bus SDL has libdbus start one through the X display, which leaks.
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
        fixtures = fs::temp_directory_path() / ("gorvanka_audio_" + std::to_string(getpid()));
        writeToneSounds(fixtures, 0.6, 0.3);
        writeSound(fixtures, "katyusha", sine(1.2, kTrack1) + " : " + sine(1.0, kTrack1Later));
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
        for (auto start : {startMusicTrack1, startMusicTrack2, startMusicTrack3, startEngineIdleSound,
                           startEngineMaxSound, startEngineAccSound})
            start();
    }
};

TEST_F(AudioTest, OnlyTrackOneIsHeardUntilAnotherChannelIsResumed) {
    startAudioIn(fixtures);
    for (size_t i = 0; i < channels().size(); ++i) {
        setChannelPaused(channels()[i], false);
        EXPECT_TRUE(hearsOnly(listen(150), 0, {kToneSounds[i].hz})) << kToneSounds[i].name;
        setChannelPaused(channels()[i], true);
    }
}

TEST_F(AudioTest, EnginesLoopTracksPlayOnceAndAnEndedTrackTouchesNothing) {
    startAudioIn(fixtures);
    setChannelPaused(musicChannel1, true);
    for (FMOD::Channel* c : {musicChannel2, engineIdleChannel, engineAccChannel, engineMaxChannel}) setChannelPaused(c, false);
    SDL_Delay(900);
    EXPECT_TRUE(hearsOnly(listen(300), 0, {kIdle, kAcc, kMax})) << "track 2 is over, the engines go on";
    for (FMOD::Channel* c : {engineIdleChannel, engineAccChannel, engineMaxChannel}) setChannelPaused(c, true);

    // The mixer hands the ended track's voice to the next sound; the old handle must not reach it.
    FMOD::Channel* newcomer = nullptr;
    ASSERT_EQ(fmodSystem->playSound(FMOD_CHANNEL_FREE, musicSound3, true, &newcomer), FMOD_OK);
    ASSERT_EQ(newcomer->voice, musicChannel2->voice);
    EXPECT_EQ(musicChannel2->setPaused(false), FMOD_ERR_INVALID_HANDLE);
    EXPECT_LT(level(listen(200), kTrack3), kToneSilent);
    setChannelPaused(newcomer, false);
    setChannelPaused(musicChannel2, true);
    EXPECT_GT(level(listen(200), kTrack3), kToneHeard);
}

TEST_F(AudioTest, PauseSilencesAndResumeContinuesWhereItStopped) {
    startAudioIn(fixtures);
    listen(350);
    setChannelPaused(musicChannel1, true);
    EXPECT_LT(level(listen(1000), kTrack1), kToneSilent);
    setChannelPaused(musicChannel1, false);
    std::vector<float> resumed = listen(1200);
    // Neither from the start (no later tone yet) nor advanced while paused (no first tone).
    EXPECT_GT(level(resumed, kTrack1, 0, 0.15), kToneHeard);
    EXPECT_GT(level(resumed, kTrack1Later, 0.75, 1), kToneHeard);
}

TEST_F(AudioTest, MissingOrBadFilesLeaveTheirSoundsOutAndTheGameRuns) {
    fs::path missing = fixtures / "missing", bad = fixtures / "bad", audio = bad / "resources/audio";
    fs::create_directories(missing);
    fs::create_directories(bad);
    fs::copy(fixtures / "resources", bad / "resources", fs::copy_options::recursive);
    std::ofstream(audio / "katyusha.mp3") << "not a sound at all\n";
    std::ofstream(audio / "redalert.mp3", std::ios::trunc);  // empty
    fs::remove(audio / "metal_ussr.mp3");
    fs::create_directory(audio / "metal_ussr.mp3");
    std::ofstream(audio / "engineacc.mp3") << std::string("ID3\x04\0\0\x7f\x7f\x7f\x7f", 10);  // a tag, no audio

    startAudioIn(missing);
    for (FMOD::Channel* c : channels()) EXPECT_EQ(c, nullptr);
    setChannelPaused(musicChannel1, false);
    updateAudio();
    for (float sample : listen(200)) ASSERT_EQ(sample, 0);
    releaseAudio();

    startAudioIn(bad);
    for (FMOD::Channel* c : {musicChannel1, musicChannel2, musicChannel3, engineAccChannel}) EXPECT_EQ(c, nullptr);
    setChannelPaused(engineIdleChannel, false);
    EXPECT_GT(level(listen(200), kIdle), kToneHeard);
}

TEST_F(AudioTest, SystemLifecycle) {
    updateAudio();
    releaseAudio();

    // A system that cannot be created ends the game with status -1.
    FMOD::System* held = nullptr;
    ASSERT_EQ(FMOD_System_Create(&held), FMOD_OK);
    EXPECT_EXIT(initAudio(), ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(held->release(), FMOD_OK);

    // No sound device: the dummy output takes over and says so; Ctrl-C and SIGTERM still end the game.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ::testing::internal::CaptureStdout();
    startAudioIn(fixtures);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("without sound"), std::string::npos);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action;
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
    releaseAudio();
    EXPECT_EQ(fmodSystem, nullptr);
    EXPECT_EQ(musicChannel1, nullptr);
}

}  // namespace
