#include "assets/render_options.h"

RenderOptions renderOptions;
