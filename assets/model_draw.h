#pragma once
// Drawing the OBJ models in the modes of assets/obj_model.h.

struct ObjModel;

// Draws each group from a display list made at the model's first draw in this mode
// (a model changed after that draws as it was); the group's texture is bound, and
// the game's shader told whether it textures, outside the lists, so texture filters
// and the shader's texturing stay as the GL state says at every draw.
void glmDraw(ObjModel* model, unsigned int mode);
