#pragma once
// The game's six sounds: three music tracks (one per level) and three looping
// engine sounds, each on a channel of its own, all loaded at start-up. The rest
// of the game chooses what is heard through the calls below alone.

// The engine loop the drive logic chose last; none until it first chooses.
enum class EngineSound { none, idle, accelerating, topSpeed };

// Creates and initialises the sound system (on failure it prints
// "FMOD error! (%d) %s" and ends the process with status -1), then loads the
// six sounds: track 1 playing, the other five paused. A sound whose file is
// missing or unreadable is left out, and the game runs on without it.
void startAudio();
// The per-pass service and Esc's release; both ignore a missing system.
void updateAudio();
void releaseAudio();

// A level's banner brings in that level's track (1 to 3) alone.
void playOnlyLevelTrack(int track);
// The 'm' key: pauses track 1 where the player left it playing, resumes it where not.
void toggleMusic();
// Unpauses one engine loop and pauses the other two; none changes nothing.
void selectEngineSound(EngineSound sound);

// The player's volume, 0 (silent) to 100, for music and engine alike.
void setSoundVolume(int percent);
// Holds every sound where it is, whatever the game tells the channels
// meanwhile, and lets them go on again: the game is paused.
void holdAllSound(bool held);
bool allSoundHeld();

// Whether the game last left a track (1 to 3) or an engine loop playing.
bool musicTrackPlaying(int track);
bool engineLoopPlaying(EngineSound sound);
