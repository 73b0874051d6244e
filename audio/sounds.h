#pragma once
// The game's six sounds: three music tracks (one per level) and three looping
// engine sounds, each on its own channel, all loaded at start-up.
#include "platform/sound_system.h"

extern FMOD::System* fmodSystem;
extern FMOD::Sound* musicSound1;
extern FMOD::Sound* musicSound2;
extern FMOD::Sound* musicSound3;
extern FMOD::Channel* musicChannel1;
extern FMOD::Channel* musicChannel2;
extern FMOD::Channel* musicChannel3;
extern FMOD::Channel* engineIdleChannel;
extern FMOD::Channel* engineAccChannel;
extern FMOD::Channel* engineMaxChannel;
extern bool musicPlaying;  // the player has left track 1 playing ('m' flips it)

// Creates and initialises the sound system; on failure prints
// "FMOD error! (%d) %s" and ends the process with status -1.
void initAudio();
void startMusicTrack1();  // playing
void startMusicTrack2();  // paused
void startMusicTrack3();  // paused
void startEngineIdleSound();
void startEngineMaxSound();
void startEngineAccSound();

// Pauses or resumes a channel; a channel that never came to be (its sound was
// missing or unreadable) or whose track has played to its end is ignored, so
// the game runs on without that sound.
void setChannelPaused(FMOD::Channel* channel, bool paused);
// The per-pass service and Esc's release; both ignore a missing system.
// Release also clears every sound and channel pointer above.
void updateAudio();
void releaseAudio();
