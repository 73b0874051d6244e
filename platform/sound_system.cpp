// Our sound layer over SDL2_mixer: every sound is decoded whole into a mixer
// chunk by the layer's decoding thread, and every channel handle names one
// playback, which takes one of the mixer's voices from its first unpaused
// moment on.
#include "platform/sound_system.h"
#include "platform/messages.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

const int kMaxVoices = 256;
const int kSampleRate = 44100;
const int kOutputChannels = 2;  // stereo
const int kMixSamples = 1024;   // per mixing pass, about 23 ms
// The game's longest track is a few minutes; anything much larger is not one
// of its sounds and would decode to hundreds of megabytes.
const long long kMaxSoundFileBytes = 16LL * 1024 * 1024;
const char* const kAlsaLibrary = "libasound.so.2";
// The decoding thread gives way to the game's drawing (a quarter of a core's
// share when they compete), so that the first frames are not slowed, yet the
// first track still starts about when the first frame shows.
const int kDecoderNiceness = 5;

struct SoundRecord : FMOD::Sound {
    std::string path;
    std::vector<char> bytes;      // the file, until the decoding thread is done with it
    Mix_Chunk* chunk = nullptr;   // null when decoding failed
    std::atomic<bool> decoded{false};  // chunk is final; set last by the decoding thread
    int loopCount = 0;
};

// A channel takes a voice only when it is first heard: until then it cannot
// have moved from its sound's start, and pausing it needs no voice at all.
struct ChannelRecord : FMOD::Channel {
    SoundRecord* sound = nullptr;
    int loopCount = 0;
    bool paused = false;
    int voice = -1;  // -1 until first heard
    bool ended = false;
};

struct SoundLayer {
    bool created = false;
    bool initialised = false;
    bool allPaused = false;  // the master group holds every channel
    int voices = 0;
    // Deques keep the handed-out addresses stable as they grow.
    std::deque<SoundRecord> sounds;
    std::deque<ChannelRecord> channels;
};

// Decoding a track takes tens of milliseconds; one thread does it in the
// order the sounds were created, so the first track is ready first. The
// record lives on the heap from init to release: a static one would be torn
// down under its waiting thread by an exit() that skips release.
struct Decoder {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<SoundRecord*> waiting;
    bool stopping = false;
    // An SDL thread, so that SDL frees the error text it keeps for the thread.
    SDL_Thread* thread = nullptr;
};

SoundLayer layer;
Decoder* decoder = nullptr;
bool releaseAtExitRegistered = false;
FMOD::System theSystem;
struct MasterGroup : FMOD::ChannelGroup {};
MasterGroup theMasterGroup;

SoundRecord& recordOf(FMOD::Sound* sound) { return *static_cast<SoundRecord*>(sound); }
ChannelRecord& recordOf(FMOD::Channel* channel) { return *static_cast<ChannelRecord*>(channel); }

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA writes about ten lines of its own to standard error when there is no
// sound card; the layer says it in one line. SDL loads ALSA at run time, so
// the quiet handler goes in through the same library, which stays loaded.
void silenceAlsa() {
    typedef void (*ErrorHandler)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen(kAlsaLibrary, RTLD_LAZY);
    if (!alsa) return;
    auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(ignoreAlsaError);
}

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
    silenceAlsa();
    if (openMixer()) return true;
    std::string reason = SDL_GetError();
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool opened = openMixer();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (opened) {
        sayf("No sound device (%s): the game runs without sound.\n", reason.c_str());
    }
    return opened;
}

// The mixer frees a voice whose sound has ended and hands it to the next
// sound played; marking the old handle first keeps it from reaching the new
// sound. Only the main-loop thread starts sounds, and each start runs this
// first, so no voice is reused before it has run.
void noteEndedChannels() {
    for (ChannelRecord& channel : layer.channels)
        if (channel.voice >= 0 && !channel.ended && !Mix_Playing(channel.voice)) channel.ended = true;
}

void reportUnloadedSound(const char* path, const char* reason) {
    sayf("Cannot load sound \"%s\": %s; the game runs on without it.\n", path, reason);
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
// bytes are no sound the mixer knows, or hold no audio. Runs on the decoding
// thread, so its failure line may come at any time after createSound.
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

int decodeInTurn(void*) {
    setpriority(PRIO_PROCESS, gettid(), kDecoderNiceness);
    std::unique_lock<std::mutex> lock(decoder->mutex);
    for (;;) {
        decoder->wake.wait(lock, [] { return decoder->stopping || !decoder->waiting.empty(); });
        if (decoder->stopping) return 0;
        SoundRecord* sound = decoder->waiting.front();
        decoder->waiting.pop_front();
        lock.unlock();
        sound->chunk = decodeSound(sound->path.c_str(), sound->bytes);
        sound->bytes = std::vector<char>();
        sound->decoded.store(true, std::memory_order_release);
        lock.lock();
    }
}

// However the process ends (Esc, the window closed, the X connection lost, a
// model that cannot be read), the decoding thread and the mixer's own thread
// stop before the sounds they use are destroyed with the rest of the process.
void releaseAtExit() {
    if (layer.initialised) theSystem.release();
}

// Without the thread no sound is ever decoded, and the game runs silently.
void startDecoder() {
    decoder = new Decoder;
    decoder->thread = SDL_CreateThread(decodeInTurn, "sound decoder", nullptr);
    if (!decoder->thread) {
        sayf("Cannot start decoding sounds (%s): the game runs without sound.\n", SDL_GetError());
    }
}

// Sounds still waiting are dropped; the one being decoded is finished first.
void stopDecoder() {
    {
        std::lock_guard<std::mutex> lock(decoder->mutex);
        decoder->stopping = true;
    }
    decoder->wake.notify_one();
    SDL_WaitThread(decoder->thread, nullptr);
    delete decoder;
    decoder = nullptr;
}

void queueForDecoding(SoundRecord* sound) {
    {
        std::lock_guard<std::mutex> lock(decoder->mutex);
        decoder->waiting.push_back(sound);
    }
    decoder->wake.notify_one();
}

// Puts an unpaused channel on a voice once its sound is decoded; a sound that
// failed to decode ends the channel.
void startWhenReady(ChannelRecord& channel) {
    if (channel.voice >= 0 || channel.ended || channel.paused || layer.allPaused) return;
    if (!channel.sound->decoded.load(std::memory_order_acquire)) return;
    noteEndedChannels();
    if (channel.sound->chunk) channel.voice = Mix_PlayChannel(-1, channel.sound->chunk, channel.loopCount);
    if (channel.voice < 0) channel.ended = true;
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
    startDecoder();
    layer.initialised = true;
    if (!std::exchange(releaseAtExitRegistered, true)) std::atexit(releaseAtExit);
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
    SoundRecord& record = layer.sounds.emplace_back();
    record.path = path;
    record.bytes = std::move(bytes);
    queueForDecoding(&record);
    *sound = &record;
    return FMOD_OK;
}

FMOD_RESULT System::playSound(int channelIndex, Sound* sound, bool paused, Channel** channel) {
    if (channel) *channel = nullptr;
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (channelIndex != FMOD_CHANNEL_FREE || !sound) return FMOD_ERR_INVALID_PARAM;
    ChannelRecord& record = layer.channels.emplace_back();
    record.sound = &recordOf(sound);
    record.loopCount = record.sound->loopCount;
    record.paused = paused;
    startWhenReady(record);
    if (channel) *channel = &record;
    return FMOD_OK;
}

FMOD_RESULT System::update() {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    noteEndedChannels();
    for (ChannelRecord& channel : layer.channels) startWhenReady(channel);
    return FMOD_OK;
}

FMOD_RESULT System::getMasterChannelGroup(ChannelGroup** group) {
    if (!group) return FMOD_ERR_INVALID_PARAM;
    *group = layer.initialised ? &theMasterGroup : nullptr;
    return layer.initialised ? FMOD_OK : FMOD_ERR_UNINITIALIZED;
}

FMOD_RESULT System::release() {
    if (!layer.created) return FMOD_ERR_UNINITIALIZED;
    if (layer.initialised) {
        stopDecoder();
        Mix_HaltChannel(-1);
        for (SoundRecord& sound : layer.sounds) Mix_FreeChunk(sound.chunk);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    layer = SoundLayer();
    return FMOD_OK;
}

FMOD_RESULT Sound::setLoopCount(int count) {
    if (count < -1) return FMOD_ERR_INVALID_PARAM;
    recordOf(this).loopCount = count;
    return FMOD_OK;
}

FMOD_RESULT Channel::setPaused(bool paused) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    ChannelRecord& channel = recordOf(this);
    noteEndedChannels();
    if (channel.ended) return FMOD_ERR_INVALID_HANDLE;
    channel.paused = paused;
    if (channel.voice < 0)
        startWhenReady(channel);
    else if (paused)
        Mix_Pause(channel.voice);
    else if (!layer.allPaused)
        Mix_Resume(channel.voice);
    return FMOD_OK;
}

FMOD_RESULT ChannelGroup::setPaused(bool paused) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    noteEndedChannels();
    layer.allPaused = paused;
    for (ChannelRecord& channel : layer.channels) {
        if (channel.voice < 0 || channel.ended) {
            startWhenReady(channel);
        } else if (paused) {
            Mix_Pause(channel.voice);
        } else if (!channel.paused) {
            Mix_Resume(channel.voice);
        }
    }
    return FMOD_OK;
}

FMOD_RESULT ChannelGroup::getPaused(bool* paused) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    *paused = layer.allPaused;
    return FMOD_OK;
}

FMOD_RESULT ChannelGroup::setVolume(float volume) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    if (!(volume >= 0.0f && volume <= 1.0f)) return FMOD_ERR_INVALID_PARAM;
    Mix_MasterVolume(int(volume * MIX_MAX_VOLUME + 0.5f));
    return FMOD_OK;
}

FMOD_RESULT Channel::getPaused(bool* paused) {
    if (!layer.initialised) return FMOD_ERR_UNINITIALIZED;
    *paused = recordOf(this).paused;
    return FMOD_OK;
}

}  // namespace FMOD
