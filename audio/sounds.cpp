// The game's six sounds. Start-up loads them all; from then on the other
// subsystems only pause and resume their channels.
#include "audio/sounds.h"
#include "core/messages.h"

#include <cstdlib>

FMOD::System* fmodSystem;
FMOD::Sound* musicSound1;
FMOD::Sound* musicSound2;
FMOD::Sound* musicSound3;
FMOD::Channel* musicChannel1;
FMOD::Channel* musicChannel2;
FMOD::Channel* musicChannel3;
FMOD::Channel* engineIdleChannel;
FMOD::Channel* engineAccChannel;
FMOD::Channel* engineMaxChannel;
bool musicPlaying = true;

namespace {

const int kChannelCount = 100;
const int kRepeatForever = -1;
const int kSoundSystemFailureStatus = -1;

const char* const kMusicTrack1File = "resources/audio/katyusha.mp3";
const char* const kMusicTrack2File = "resources/audio/redalert.mp3";
const char* const kMusicTrack3File = "resources/audio/metal_ussr.mp3";
const char* const kEngineIdleFile = "resources/audio/engineidle.mp3";
const char* const kEngineAccFile = "resources/audio/engineacc.mp3";
const char* const kEngineMaxFile = "resources/audio/enginemaxspeed.mp3";

void exitUnlessOk(FMOD_RESULT result) {
    if (result == FMOD_OK) return;
    sayf("FMOD error! (%d) %s\n", result, FMOD_ErrorString(result));
    std::exit(kSoundSystemFailureStatus);
}

// A track plays once, through to its end.
void startMusicTrack(const char* path, FMOD::Sound** sound, bool paused, FMOD::Channel** channel) {
    if (!fmodSystem) return;
    fmodSystem->setSoftwareChannels(kChannelCount);
    fmodSystem->createSound(path, FMOD_DEFAULT, nullptr, sound);
    fmodSystem->playSound(FMOD_CHANNEL_FREE, *sound, paused, channel);
}

// An engine loop repeats for the whole run; only pausing its channel controls it.
void startEngineSound(const char* path, FMOD::Channel** channel) {
    if (!fmodSystem) return;
    FMOD::Sound* sound = nullptr;
    fmodSystem->createSound(path, FMOD_DEFAULT, nullptr, &sound);
    if (!sound) return;
    sound->setLoopCount(kRepeatForever);
    fmodSystem->playSound(FMOD_CHANNEL_FREE, sound, true, channel);
}

}  // namespace

void initAudio() {
    exitUnlessOk(FMOD_System_Create(&fmodSystem));
    exitUnlessOk(fmodSystem->init(kChannelCount, FMOD_INIT_NORMAL, nullptr));
}

void startMusicTrack1() { startMusicTrack(kMusicTrack1File, &musicSound1, false, &musicChannel1); }
void startMusicTrack2() { startMusicTrack(kMusicTrack2File, &musicSound2, true, &musicChannel2); }
void startMusicTrack3() { startMusicTrack(kMusicTrack3File, &musicSound3, true, &musicChannel3); }
void startEngineIdleSound() { startEngineSound(kEngineIdleFile, &engineIdleChannel); }
void startEngineMaxSound() { startEngineSound(kEngineMaxFile, &engineMaxChannel); }
void startEngineAccSound() { startEngineSound(kEngineAccFile, &engineAccChannel); }

void setChannelPaused(FMOD::Channel* channel, bool paused) {
    if (channel) channel->setPaused(paused);
}

void updateAudio() {
    if (fmodSystem) fmodSystem->update();
}

// After release every handle is gone, so none is left to call through.
void releaseAudio() {
    if (!fmodSystem) return;
    fmodSystem->release();
    fmodSystem = nullptr;
    musicSound1 = musicSound2 = musicSound3 = nullptr;
    musicChannel1 = musicChannel2 = musicChannel3 = nullptr;
    engineIdleChannel = engineAccChannel = engineMaxChannel = nullptr;
}
