#include <cstdlib>

#include "assets/obj_model.h"

void glmExit(int status) { std::exit(status); }
