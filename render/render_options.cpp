#include "render/render_options.h"

RenderOptions renderOptions;
