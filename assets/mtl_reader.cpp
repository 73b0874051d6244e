// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "assets/obj_model.h"
void glmReadMTL(ObjModel*, const char*) {}
uint32_t glmFindMaterial(ObjModel*, const char*) { return 0; }
int32_t glmAcquireTexture(ObjModel*, const char*) { return -1; }
unsigned int glmLoadTexture(const char*, float*, float*) { return 0; }
