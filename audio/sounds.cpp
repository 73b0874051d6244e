// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "audio/sounds.h"
FMOD::System* fmodSystem;
FMOD::Sound *musicSound1, *musicSound2, *musicSound3;
FMOD::Channel *musicChannel1, *musicChannel2, *musicChannel3;
FMOD::Channel *engineIdleChannel, *engineAccChannel, *engineMaxChannel;
bool musicPlaying = true;
void initAudio() {}
void startMusicTrack1() {}
void startMusicTrack2() {}
void startMusicTrack3() {}
void startEngineIdleSound() {}
void startEngineMaxSound() {}
void startEngineAccSound() {}
void setChannelPaused(FMOD::Channel*, bool) {}
void updateAudio() {}
void releaseAudio() {}
