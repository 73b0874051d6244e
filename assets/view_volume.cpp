#include "assets/view_volume.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/fog.h"

namespace {

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

}  // namespace

// The sides of the view are sums and differences of the last row of
// projection x modelview with each of the others.
ViewVolume viewVolumeNow() {
    float projection[16], modelview[16], clip[16];
    GLint viewport[4] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetIntegerv(GL_VIEWPORT, viewport);
    multiply(projection, modelview, clip);
    ViewVolume view;
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
    view.pixelsPerUnitDepth = entry(projection, 1, 1) * float(viewport[3]) / 2.0f;
    return view;
}

bool ballCanShow(const ViewVolume& view, const Vec3& centre, float radius) {
    for (const float* side : view.sides) {
        if (planeAt(side, centre) < -radius) return false;
    }
    return nearestDepth(view, centre, radius) <= view.fogHidingDepth;
}

float nearestDepth(const ViewVolume& view, const Vec3& centre, float radius) {
    return planeAt(view.depthRow, centre) - radius * length3(view.depthRow);
}
