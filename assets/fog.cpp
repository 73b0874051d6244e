#include "assets/fog.h"

#include <GL/gl.h>

#include <cmath>
#include <limits>

namespace {

const GLfloat kFogColour[4] = {0.9f, 0.7f, 0.5f, 1.0f};
const GLfloat kFogStart = 10.0f;
const GLfloat kFogEnd = 2400.0f;
const GLfloat kFogDensity = 0.004f;

bool fogOn;

}  // namespace

void setUpFog() {
    glFogfv(GL_FOG_COLOR, kFogColour);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_START, kFogStart);
    glFogf(GL_FOG_END, kFogEnd);
    glFogf(GL_FOG_DENSITY, kFogDensity);
}

void switchFog(bool on) {
    on ? glEnable(GL_FOG) : glDisable(GL_FOG);
    fogOn = on;
}

bool fogIsOn() { return fogOn; }

// Exponential fog leaves exp(-density x depth) of a colour.
float fogHidingDepth() {
    if (!fogOn) return std::numeric_limits<float>::infinity();
    return std::log(255.0f) / kFogDensity;
}
