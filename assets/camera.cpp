#include "assets/camera.h"

#include <GL/glu.h>

namespace {

const double kFieldOfView = 45.0;      // degrees, vertical
const float kPulledBackShift = 30.0f;  // along +z, whatever the heading

}  // namespace

void setProjection(double aspect, double nearPlane, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void applyCamera(const Vec3& eye, const Vec3& viewDir, const Vec3& up, bool pulledBack) {
    const float eyeZ = pulledBack ? eye.z + kPulledBackShift : eye.z;
    const Vec3 centre = add(eye, viewDir);
    gluLookAt(eye.x, eye.y, eyeZ, centre.x, centre.y, centre.z, up.x, up.y, up.z);
}
