#include "shell/pickup_view.h"

#include <GL/gl.h>

#include <cmath>
#include <limits>

namespace {

// Exponential fog leaves exp(-density x depth) of a colour: under 1/255 past this density x depth.
const float kFogHidingOpticalDepth = std::log(255.0f);

// Column-major 4 x 4 matrices, as GL keeps them.
float entry(const float (&m)[16], int row, int column) { return m[column * 4 + row]; }

void multiply(const float (&a)[16], const float (&b)[16], float (&product)[16]) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += entry(a, row, k) * entry(b, k, column);
            product[column * 4 + row] = sum;
        }
    }
}

float length3(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

float planeAt(const float* plane, const Vec3& at) {
    return plane[0] * at.x + plane[1] * at.y + plane[2] * at.z + plane[3];
}

float fogHidingDepth() {
    GLint mode = 0;
    GLfloat density = 0.0f;
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetFloatv(GL_FOG_DENSITY, &density);
    if (!glIsEnabled(GL_FOG) || mode != GL_EXP || !(density > 0.0f)) return std::numeric_limits<float>::infinity();
    return kFogHidingOpticalDepth / density;
}

}  // namespace

// The sides of the view are sums and differences of the last row of
// projection x modelview with each of the others.
PickupView pickupViewNow() {
    float projection[16], modelview[16], clip[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    multiply(projection, modelview, clip);
    PickupView view;
    for (int side = 0; side < 6; ++side) {
        const int row = side / 2;
        const float sign = side % 2 == 0 ? 1.0f : -1.0f;
        float* plane = view.sides[side];
        for (int column = 0; column < 4; ++column) {
            plane[column] = entry(clip, 3, column) + sign * entry(clip, row, column);
        }
        const float length = length3(plane);
        if (length > 0.0f) {
            for (int column = 0; column < 4; ++column) plane[column] /= length;
        }
    }
    for (int column = 0; column < 4; ++column) view.depthRow[column] = -entry(modelview, 2, column);
    view.fogHidingDepth = fogHidingDepth();
    return view;
}

bool pickupCanShow(const PickupView& view, const Pickup& pickup) {
    const float radius = pickupDrawnRadius(pickup.kind);
    for (const float* side : view.sides) {
        if (planeAt(side, pickup.position) < -radius) return false;
    }
    const float nearestDepth = planeAt(view.depthRow, pickup.position) - radius * length3(view.depthRow);
    return nearestDepth <= view.fogHidingDepth;
}
