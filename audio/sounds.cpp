// The game's six sounds. Start-up loads them all; from then on they are only
// paused and resumed on their channels.
#include "audio/sounds.h"

#include <cstdlib>
#include <initializer_list>

#include "platform/messages.h"
#include "platform/sound_system.h"

namespace {

const int kChannelCount = 100;
const int kRepeatForever = -1;
const int kSoundSystemFailureStatus = -1;
const int kTrackCount = 3;

const char* const kTrackFiles[kTrackCount] = {"resources/audio/katyusha.mp3", "resources/audio/redalert.mp3",
                                              "resources/audio/metal_ussr.mp3"};
const char* const kEngineIdleFile = "resources/audio/engineidle.mp3";
const char* const kEngineAccFile = "resources/audio/engineacc.mp3";
const char* const kEngineMaxFile = "resources/audio/enginemaxspeed.mp3";

FMOD::System* fmodSystem;
FMOD::Sound* trackSounds[kTrackCount];
FMOD::Channel* trackChannels[kTrackCount];
FMOD::Channel* engineIdleChannel;
FMOD::Channel* engineAccChannel;
FMOD::Channel* engineMaxChannel;
bool musicPlaying = true;  // the player has left track 1 playing ('m' flips it)

void exitUnlessOk(FMOD_RESULT result) {
    if (result == FMOD_OK) return;
    sayf("FMOD error! (%d) %s\n", result, FMOD_ErrorString(result));
    std::exit(kSoundSystemFailureStatus);
}

void initAudio() {
    exitUnlessOk(FMOD_System_Create(&fmodSystem));
    exitUnlessOk(fmodSystem->init(kChannelCount, FMOD_INIT_NORMAL, nullptr));
}

// A track plays once, through to its end; only track 1 starts out heard.
void startMusicTrack(int track) {
    fmodSystem->setSoftwareChannels(kChannelCount);
    fmodSystem->createSound(kTrackFiles[track - 1], FMOD_DEFAULT, nullptr, &trackSounds[track - 1]);
    fmodSystem->playSound(FMOD_CHANNEL_FREE, trackSounds[track - 1], track != 1, &trackChannels[track - 1]);
}

// An engine loop repeats for the whole run; only pausing its channel controls it.
void startEngineSound(const char* path, FMOD::Channel** channel) {
    FMOD::Sound* sound = nullptr;
    fmodSystem->createSound(path, FMOD_DEFAULT, nullptr, &sound);
    if (!sound) return;
    sound->setLoopCount(kRepeatForever);
    fmodSystem->playSound(FMOD_CHANNEL_FREE, sound, true, channel);
}

// A channel that never came to be (its sound was missing or unreadable), or
// whose track has played to its end, is left alone.
void setChannelPaused(FMOD::Channel* channel, bool paused) {
    if (channel) channel->setPaused(paused);
}

bool channelPlaying(FMOD::Channel* channel) {
    bool paused = true;
    return channel && channel->getPaused(&paused) == FMOD_OK && !paused;
}

FMOD::Channel* engineChannel(EngineSound sound) {
    switch (sound) {
    case EngineSound::idle: return engineIdleChannel;
    case EngineSound::accelerating: return engineAccChannel;
    case EngineSound::topSpeed: return engineMaxChannel;
    case EngineSound::none: break;
    }
    return nullptr;
}

// Every channel together; none without a sound system.
FMOD::ChannelGroup* allChannels() {
    FMOD::ChannelGroup* group = nullptr;
    if (fmodSystem) fmodSystem->getMasterChannelGroup(&group);
    return group;
}

}  // namespace

void startAudio() {
    initAudio();
    for (int track = 1; track <= kTrackCount; ++track) startMusicTrack(track);
    startEngineSound(kEngineIdleFile, &engineIdleChannel);
    startEngineSound(kEngineMaxFile, &engineMaxChannel);
    startEngineSound(kEngineAccFile, &engineAccChannel);
}

void updateAudio() {
    if (fmodSystem) fmodSystem->update();
}

// After release every handle is gone, so none is left to call through.
void releaseAudio() {
    if (!fmodSystem) return;
    fmodSystem->release();
    fmodSystem = nullptr;
    for (int i = 0; i < kTrackCount; ++i) trackSounds[i] = nullptr, trackChannels[i] = nullptr;
    engineIdleChannel = engineAccChannel = engineMaxChannel = nullptr;
}

void playOnlyLevelTrack(int track) {
    for (int i = 1; i <= kTrackCount; ++i) setChannelPaused(trackChannels[i - 1], track != i);
}

void toggleMusic() {
    setChannelPaused(trackChannels[0], musicPlaying);
    musicPlaying = !musicPlaying;
}

// The loop chosen is resumed last, so that it never starts before the others have stopped.
void selectEngineSound(EngineSound sound) {
    if (sound == EngineSound::none) return;
    for (EngineSound other : {EngineSound::accelerating, EngineSound::topSpeed, EngineSound::idle})
        if (other != sound) setChannelPaused(engineChannel(other), true);
    setChannelPaused(engineChannel(sound), false);
}

void setSoundVolume(int percent) {
    if (FMOD::ChannelGroup* everything = allChannels()) everything->setVolume(float(percent) / 100.0f);
}

void holdAllSound(bool held) {
    if (FMOD::ChannelGroup* everything = allChannels()) everything->setPaused(held);
}

bool allSoundHeld() {
    bool held = false;
    FMOD::ChannelGroup* everything = allChannels();
    return everything && everything->getPaused(&held) == FMOD_OK && held;
}

bool musicTrackPlaying(int track) {
    return track >= 1 && track <= kTrackCount && channelPlaying(trackChannels[track - 1]);
}

bool engineLoopPlaying(EngineSound sound) { return channelPlaying(engineChannel(sound)); }
