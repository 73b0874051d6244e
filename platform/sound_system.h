#pragma once
// Our own small sound layer over SDL2_mixer, standing in for the closed sound
// library whose calls the game was written against. It offers exactly those
// calls: create and init a system, create sounds from MP3 files, set a loop
// count, play on a free channel (optionally paused), pause/resume a channel,
// a per-frame update and release. Every call returns FMOD_OK (0) on success.
//
// Promises the game relies on:
// - a sound started paused stays silent at its position until resumed, and
//   resuming continues from there;
// - loop count -1 repeats a sound without a gap for as long as the game runs;
//   the default plays a sound once;
// - a channel handed out stays valid until release; a channel whose sound has
//   played to its end keeps its handle, and pausing or resuming it does nothing;
// - with no sound device the system still initialises on SDL's "dummy" driver
//   and says so in one line on standard output.

typedef int FMOD_RESULT;
enum {
    FMOD_OK = 0,
    FMOD_ERR_INITIALIZATION = 1,
    FMOD_ERR_OUTPUT_INIT = 2,
    FMOD_ERR_FILE_NOTFOUND = 3,
    FMOD_ERR_FORMAT = 4,
    FMOD_ERR_CHANNEL_ALLOC = 5,
    FMOD_ERR_INVALID_PARAM = 6,
    FMOD_ERR_UNINITIALIZED = 7,
};
typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_MODE;
const FMOD_INITFLAGS FMOD_INIT_NORMAL = 0;
const FMOD_MODE FMOD_DEFAULT = 0;
const int FMOD_CHANNEL_FREE = -1;

// A short description of a result code, for the start-up error line.
const char* FMOD_ErrorString(FMOD_RESULT result);

namespace FMOD {

class Sound;
class Channel;

class System {
public:
    FMOD_RESULT init(int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData);
    FMOD_RESULT setSoftwareChannels(int count);
    FMOD_RESULT createSound(const char* path, FMOD_MODE mode, void* exInfo, Sound** sound);
    FMOD_RESULT playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);
    FMOD_RESULT update();
    FMOD_RESULT release();
};

}  // namespace FMOD

FMOD_RESULT FMOD_System_Create(FMOD::System** system);
