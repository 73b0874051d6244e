#pragma once
// The game's sound layer, over SDL2_mixer. It offers the calls the game makes,
// and no others: create and init a system, create sounds from MP3 files, set a
// loop count, play on a free channel (optionally paused), pause/resume a
// channel, a per-pass update and release. Every call returns FMOD_OK (0) on success.
// One system exists at a time, and all calls come from the main-loop thread.
//
// Promises the game relies on:
// - a sound started paused stays silent at its position until resumed, and
//   resuming continues from there;
// - loop count -1 repeats a sound without a gap for as long as the game runs;
//   the default plays a sound once;
// - createSound only reads the file; a thread of the layer decodes it while
//   the game goes on starting, and update() starts the channels that wait for
//   it. A channel is heard from its sound's start once it is decoded and not
//   paused, so the game sees no difference beyond that short wait;
// - a channel handed out stays valid until release; a channel whose sound has
//   played to its end, or could not be decoded, keeps its handle, and pausing
//   or resuming it does nothing (even when the mixer has since put another
//   sound on the same voice);
// - a missing, unreadable or oversized sound file fails createSound with one
//   line on standard output naming the file, and leaves the sound null; a file
//   that does not decode is named in one such line when its decoding ends;
// - however the process ends, exit() included, the layer releases itself
//   first, so its threads never outlive the sounds they play;
// - with no sound device the system still initialises on SDL's "dummy" driver
//   and says so in one line on standard output, and nothing else: the sound
//   library's own complaints are kept off standard error.

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
    FMOD_ERR_INVALID_HANDLE = 8,
    FMOD_ERR_FILE_BAD = 9,
};
typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_MODE;
const FMOD_INITFLAGS FMOD_INIT_NORMAL = 0;
const FMOD_MODE FMOD_DEFAULT = 0;
const int FMOD_CHANNEL_FREE = -1;

// A short description of a result code, for the start-up error line.
const char* FMOD_ErrorString(FMOD_RESULT result);

namespace FMOD {

// Sounds and channels are handles: only the layer makes them, and what they
// hold is its own business.
class Sound {
public:
    // -1 repeats without end, 0 plays once, n plays n more times after the
    // first; it applies to the sound's next playSound.
    FMOD_RESULT setLoopCount(int loopCount);

protected:
    Sound() = default;
};

class Channel {
public:
    // true pauses, false resumes where it stopped. A channel whose sound has
    // played to its end, or never decoded, answers FMOD_ERR_INVALID_HANDLE and
    // changes nothing.
    FMOD_RESULT setPaused(bool paused);
    // Whether the game last paused or resumed it: paused is where it waits.
    FMOD_RESULT getPaused(bool* paused);

protected:
    Channel() = default;
};

// Every channel together: pausing it holds them all without changing what
// each channel was told, and its volume scales them all.
class ChannelGroup {
public:
    // true holds every channel where it is; false lets those not paused on
    // their own play on from there.
    FMOD_RESULT setPaused(bool paused);
    FMOD_RESULT getPaused(bool* paused);
    // 0 (silent) to 1 (as recorded).
    FMOD_RESULT setVolume(float volume);

protected:
    ChannelGroup() = default;
};

class System {
public:
    // Opens the sound device with maxChannels voices (1 to 256); flags and
    // extraDriverData must be FMOD_INIT_NORMAL and null.
    FMOD_RESULT init(int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData);
    // Raises the number of voices to count; it never takes voices away, so no
    // sound that plays is cut off.
    FMOD_RESULT setSoftwareChannels(int count);
    // Reads an MP3 (or WAV/OGG) file and queues it for decoding whole into
    // memory. On failure *sound is null.
    FMOD_RESULT createSound(const char* path, FMOD_MODE mode, void* exInfo, Sound** sound);
    // Plays sound on a free voice (channelIndex FMOD_CHANNEL_FREE) once it is
    // decoded; a paused start is not heard at all. On failure *channel is null.
    FMOD_RESULT playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);
    // Starts the channels whose sounds have been decoded since, and notes
    // those whose sounds have played to their end.
    FMOD_RESULT update();
    // The group of every channel, valid from init to release.
    FMOD_RESULT getMasterChannelGroup(ChannelGroup** group);
    // Stops everything, frees every sound and channel and closes the device;
    // the pointers handed out are invalid afterwards.
    FMOD_RESULT release();
};

}  // namespace FMOD

// Hands out the one system; a second create before release fails.
FMOD_RESULT FMOD_System_Create(FMOD::System** system);
