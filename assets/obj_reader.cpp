// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "assets/obj_model.h"
ObjModel::~ObjModel() {}
ObjModel* glmReadOBJ(const char* path) { ObjModel* m = new ObjModel(); m->path = path; m->groups = nullptr; return m; }
ObjGroup* glmGroupByName(ObjModel*, const char*) { return nullptr; }
