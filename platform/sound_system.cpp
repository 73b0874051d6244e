// Our sound layer over SDL2_mixer: every sound is decoded whole into a mixer
// chunk at creation, and every channel handle names one playback on one of
// the mixer's voices.
#include "platform/sound_system.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

const int kMaxVoices = 256;
const int kSampleRate = 44100;
const int kOutputChannels = 2;  // stereo
const int kMixSamples = 1024;   // per mixing pass, about 23 ms
// The game's longest track is a few minutes; anything much larger is not one
// of its sounds and would decode to hundreds of megabytes.
const long long kMaxSoundFileBytes = 16LL * 1024 * 1024;
// SDL numbers opened devices from 1 up; we open only the mixer's.
const SDL_AudioDeviceID kMaxDeviceId = 16;

struct SoundLayer {
    bool created = false;
    bool initialised = false;
    int voices = 0;
    SDL_AudioDeviceID device = 0;  // locked so a paused start is never heard
    // Deques keep the handed-out addresses stable as they grow.
    std::deque<FMOD::Sound> sounds;
    std::deque<FMOD::Channel> channels;
};

SoundLayer layer;
FMOD::System theSystem;

bool openMixer() {
    // SDL's audio brings its event queue, whose signal handlers would turn
    // Ctrl-C and SIGTERM into quit events that the game never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kOutputChannels, kMixSamples) == 0) return true;
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// Without a sound device SDL does not fall back by itself; the dummy driver
// keeps every call working, silently.
bool openMixerOrDummy() {
    if (openMixer()) return true;
    std::string reason = SDL_GetError();
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool opened = openMixer();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (opened) {
        std::printf("No sound device (%s): the game runs without sound.\n", reason.c_str());
        std::fflush(stdout);
    }
    return opened;
}

// The mixer keeps its device id to itself; it is the one device playing.
SDL_AudioDeviceID findMixerDevice() {
    for (SDL_AudioDeviceID id = 1; id <= kMaxDeviceId; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) return id;
    return 0;
}

// The mixer frees a voice whose sound has ended and hands it to the next
// sound played; marking the old handle first keeps it from reaching the new
// sound. Only the main-loop thread starts sounds, so no voice is reused
// before this has run.
void noteEndedChannels() {
    for (FMOD::Channel& channel : layer.channels)
        if (!channel.ended && !Mix_Playing(channel.voice)) channel.ended = true;
}

void reportUnloadedSound(const char* path, const char* reason) {
    std::printf("Cannot load sound \"%s\": %s; the game runs on without it.\n", path, reason);
    std::fflush(stdout);
}

// Reads the whole file into memory; the size is checked before anything is
// allocated. The decoder then works on the bytes: on some bad files the
// mixer's own file loader leaks its reader.
FMOD_RESULT readSoundFile(const char* path, std::vector<char>* bytes) {
    struct stat info;
    if (stat(path, &info) != 0) {
        reportUnloadedSound(path, std::strerror(errno));
        return FMOD_ERR_FILE_NOTFOUND;
    }
    if (!S_ISREG(info.st_mode)) {
        reportUnloadedSound(path, "not a regular file");
        return FMOD_ERR_FILE_BAD;
    }
    if (info.st_size == 0) {
        reportUnloadedSound(path, "the file is empty");
        return FMOD_ERR_FILE_BAD;
    }
    if (info.st_size > kMaxSoundFileBytes) {
        reportUnloadedSound(path, "larger than 16 MiB");
        return FMOD_ERR_FILE_BAD;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        reportUnloadedSound(path, std::strerror(errno));
        return FMOD_ERR_FILE_NOTFOUND;
    }
    bytes->resize(size_t(info.st_size));
    size_t got = std::fread(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);
    if (got != bytes->size()) {
        reportUnloadedSound(path, "cannot be read to its end");
        return FMOD_ERR_FILE_BAD;
    }
    return FMOD_OK;
}

// Decodes the whole sound into a chunk in the mixer's format; null when the
// bytes are no sound the mixer knows, or hold no audio.
Mix_Chunk* decodeSound(const char* path, const std::vector<char>& bytes) {
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 0) : nullptr;
    if (source) SDL_RWclose(source);
    if (chunk && chunk->alen == 0) {
        Mix_FreeChunk(chunk);
        reportUnloadedSound(path, "no audio in it");
        return nullptr;
    }
    if (!chunk) reportUnloadedSound(path, Mix_GetError());
    return chunk;
}

}  // namespace

const char* FMOD_ErrorString(FMOD_RESULT result) {
    switch (result) {
    case FMOD_OK: return "No errors.";
    case FMOD_ERR_INITIALIZATION: return "The sound system was already created or initialised.";
    case FMOD_ERR_OUTPUT_INIT: return "No sound output, not even the silent one, could be opened.";
    case FMOD_ERR_FILE_NOTFOUND: return "Sound file not found.";
    case FMOD_ERR_FORMAT: return "Sound file could not be decoded.";
    case FMOD_ERR_CHANNEL_ALLOC: return "No free channel to play the sound on.";
    case FMOD_ERR_INVALID_PARAM: return "An invalid argument was passed.";
    case FMOD_ERR_UNINITIALIZED: return "The sound system is not initialised.";
    case FMOD_ERR_INVALID_HANDLE: return "The channel's sound has ended.";
    case FMOD_ERR_FILE_BAD: return "Sound file is not a regular file or is too large.";
    default: return "Unknown error.";
    }
}

FMOD_RESULT FMOD_System_Create(FMOD::System** system) {
    if (!system) return FMOD_ERR_INVALID_PARAM;
    *system = nullptr;
    if (layer.created) return FMOD_ERR_INITIALIZATION;
    layer.created = true;
    *system = &theSystem;
    return FMOD_OK;
}

namespace FMOD {

FMOD_RESULT System::init(int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData) {
    if (!layer.created) return FMOD_ERR_UNINITIALIZED;
    if (layer.initialised) return FMOD_ERR_INITIALIZATION;
    if (maxChannels < 1 || maxChannels > kMaxVoices || flags != FMOD_INIT_NORMAL || extraDriverData)
        return FMOD_ERR_INVALID_PARAM;
    if (!openMixerOrDummy()) return FMOD_ERR_OUTPUT_INIT;
    layer.voices = Mix_AllocateChannels(maxChannels);
    layer.device = findMixerDevice();
    layer.initialised = true;
    return FMOD_OK;
}

FMOD_RESULT System::setSoftwareChannels(int count) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (count < 1 || count > kMaxVoices) return FMOD_ERR_INVALID_PARAM;
    if (count > layer.voices) layer.voices = Mix_AllocateChannels(count);
    return FMOD_OK;
}

FMOD_RESULT System::createSound(const char* path, FMOD_MODE mode, void* exInfo, Sound** sound) {
    if (!sound) return FMOD_ERR_INVALID_PARAM;
    *sound = nullptr;
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (!path || mode != FMOD_DEFAULT || exInfo) return FMOD_ERR_INVALID_PARAM;
    std::vector<char> bytes;
    FMOD_RESULT read = readSoundFile(path, &bytes);
    if (read != FMOD_OK) return read;
    Mix_Chunk* chunk = decodeSound(path, bytes);
    if (!chunk) return FMOD_ERR_FORMAT;
    layer.sounds.emplace_back();
    layer.sounds.back().chunk = chunk;
    *sound = &layer.sounds.back();
    return FMOD_OK;
}

FMOD_RESULT System::playSound(int channelIndex, Sound* sound, bool paused, Channel** channel) {
    if (channel) *channel = nullptr;
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (channelIndex != FMOD_CHANNEL_FREE || !sound || !sound->chunk) return FMOD_ERR_INVALID_PARAM;
    noteEndedChannels();
    // Under the device lock no mixing pass can run between play and pause.
    SDL_LockAudioDevice(layer.device);
    int voice = Mix_PlayChannel(-1, sound->chunk, sound->loopCount);
    if (voice >= 0 && paused) Mix_Pause(voice);
    SDL_UnlockAudioDevice(layer.device);
    if (voice < 0) return FMOD_ERR_CHANNEL_ALLOC;
    layer.channels.emplace_back();
    layer.channels.back().voice = voice;
    if (channel) *channel = &layer.channels.back();
    return FMOD_OK;
}

FMOD_RESULT System::update() {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    noteEndedChannels();
    return FMOD_OK;
}

FMOD_RESULT System::release() {
    if (!layer.created) return FMOD_ERR_UNINITIALIZED;
    if (layer.initialised) {
        Mix_HaltChannel(-1);
        for (Sound& sound : layer.sounds) Mix_FreeChunk(sound.chunk);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    layer = SoundLayer();
    return FMOD_OK;
}

FMOD_RESULT Sound::setLoopCount(int count) {
    if (count < -1) return FMOD_ERR_INVALID_PARAM;
    loopCount = count;
    return FMOD_OK;
}

FMOD_RESULT Channel::setPaused(bool paused) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (!ended && !Mix_Playing(voice)) ended = true;
    if (ended) return FMOD_ERR_INVALID_HANDLE;
    if (paused)
        Mix_Pause(voice);
    else
        Mix_Resume(voice);
    return FMOD_OK;
}

}  // namespace FMOD
