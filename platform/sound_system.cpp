// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "platform/sound_system.h"
const char* FMOD_ErrorString(FMOD_RESULT) { return ""; }
namespace FMOD {
FMOD_RESULT System::init(int, FMOD_INITFLAGS, void*) { return FMOD_OK; }
FMOD_RESULT System::setSoftwareChannels(int) { return FMOD_OK; }
FMOD_RESULT System::createSound(const char*, FMOD_MODE, void*, Sound** s) { *s = nullptr; return FMOD_ERR_FILE_NOTFOUND; }
FMOD_RESULT System::playSound(int, Sound*, bool, Channel** c) { *c = nullptr; return FMOD_ERR_INVALID_PARAM; }
FMOD_RESULT System::update() { return FMOD_OK; }
FMOD_RESULT System::release() { return FMOD_OK; }
}
FMOD_RESULT FMOD_System_Create(FMOD::System** s) { static FMOD::System one; *s = &one; return FMOD_OK; }
