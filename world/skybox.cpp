#include "world/skybox.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "assets/bmp_reader.h"
#include "core/vec3.h"
#include "world/levels.h"

Skybox sky;

namespace {

// Half the cube's side: the sky's walls stand this far from its centre.
const float skyReach = 10000.0f;
const int faceCount = 6;

// Loading order: -x, +x, bottom, top, -z, +z.
const char* const facePaths[faceCount] = {
    "resources/XN.bmp", "resources/XP.bmp", "resources/YN.bmp",
    "resources/YP.bmp", "resources/ZN.bmp", "resources/ZP.bmp",
};

// One corner of a face: texture coordinate, then position in units of skyReach.
struct SkyCorner {
    float s, t;
    float x, y, z;
};

// On the side faces t = 0 is the bottom edge, so pictures stored bottom row first stand upright.
const SkyCorner topCorners[4] = {{0, 0, -1, 1, -1}, {1, 0, -1, 1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}};
const SkyCorner bottomCorners[4] = {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, 1, -1, 1}, {0, 1, 1, -1, -1}};
const SkyCorner westCorners[4] = {{0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, -1, 1, 1}, {1, 0, -1, -1, 1}};
const SkyCorner eastCorners[4] = {{0, 1, 1, 1, -1}, {1, 1, 1, 1, 1}, {1, 0, 1, -1, 1}, {0, 0, 1, -1, -1}};
const SkyCorner northCorners[4] = {{0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, 1, 1, -1}, {1, 0, 1, -1, -1}};
const SkyCorner southCorners[4] = {{0, 0, -1, -1, 1}, {0, 1, -1, 1, 1}, {1, 1, 1, 1, 1}, {1, 0, 1, -1, 1}};

// The ground plane, drawn later in every frame, filled and opaque, hides all of
// the sky that the eye sees through it: the bottom face, and each side face
// below some height, nearly all of the screen at a level's start. That part of
// the sky is not drawn; below the hidden heights found, the ground still covers
// a few pixels' worth of sky more, against rounding.
const float hiddenMargin = 50.0f;
// Lower eyes are left the whole sky: the near plane might cut the ground away.
const float lowestHidingEye = 2.0f;
const float nowhere = -std::numeric_limits<float>::infinity();

// The sky's columns, its four vertical edges in units of skyReach, and which two bound each side face.
const float columnX[4] = {-1, -1, 1, 1};
const float columnZ[4] = {-1, 1, 1, -1};
enum SideFace { west, east, north, south };
const int faceColumns[4][2] = {{0, 1}, {2, 3}, {0, 3}, {1, 2}};

// Heights up to which each side face is hidden, in units of skyReach (-1: none of it).
struct HiddenSky {
    float sideBelow[4];
    bool bottom;
};

float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The eye of the camera transform in the modelview matrix: -R^-1 t, where the
// rows of R^-1 are cross products of the columns of R over its determinant.
bool eyeInWorld(Vec3* eye) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const Vec3 c0 = {m[0], m[1], m[2]}, c1 = {m[4], m[5], m[6]}, c2 = {m[8], m[9], m[10]};
    const Vec3 t = {m[12], m[13], m[14]};
    const float det = dot(c0, cross(c1, c2));
    if (!std::isnormal(det)) return false;
    *eye = {-dot(cross(c1, c2), t) / det, -dot(cross(c2, c0), t) / det, -dot(cross(c0, c1), t) / det};
    return true;
}

// How far along the way from the eye's e to c, as a fraction, the way stays over the ground.
float fractionOverGround(float e, float c) {
    const float d = c - e;
    if (d == 0.0f) return std::numeric_limits<float>::infinity();
    return ((d > 0.0f ? kGroundHalfSize : -kGroundHalfSize) - e) / d;
}

// The world height below which the ground hides the sky's vertical line at (x, z) from the eye.
float hiddenBelowAt(const Vec3& eye, float x, float z) {
    const float fraction = std::fmin(fractionOverGround(eye.x, x), fractionOverGround(eye.z, z));
    if (!(fraction > 0.0f)) return nowhere;
    return std::fmin(0.0f, eye.y * (1.0f - 1.0f / fraction)) - hiddenMargin;
}

// The ground's shadow on the sky, cast from the eye. It is convex on every face,
// so a face part is hidden when its corners are.
HiddenSky hiddenSky() {
    HiddenSky hidden = {{-1, -1, -1, -1}, false};
    GLint polygonModes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    Vec3 eye;
    if (polygonModes[0] != GL_FILL || polygonModes[1] != GL_FILL || !eyeInWorld(&eye)) return hidden;
    if (eye.y < lowestHidingEye || std::fabs(eye.x) >= kGroundHalfSize || std::fabs(eye.z) >= kGroundHalfSize) {
        return hidden;
    }
    float below[4];
    for (int i = 0; i < 4; ++i) {
        const float x = sky.centreX + columnX[i] * skyReach, z = sky.centreZ + columnZ[i] * skyReach;
        below[i] = hiddenBelowAt(eye, x, z) / skyReach;
    }
    hidden.bottom = *std::min_element(below, below + 4) > -1.0f;
    for (int face = 0; face < 4; ++face) {
        hidden.sideBelow[face] = std::fmax(-1.0f, std::fmin(below[faceColumns[face][0]], below[faceColumns[face][1]]));
    }
    return hidden;
}

// Corners below lowestY are drawn at lowestY, with the side faces' t of that height.
void drawFace(unsigned int texture, const SkyCorner (&corners)[4], float lowestY = -1.0f) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Clamped, so texels from a picture's opposite edge never bleed along a face border.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    for (const SkyCorner& corner : corners) {
        const bool raised = corner.y < lowestY;
        glTexCoord2f(corner.s, raised ? (lowestY + 1.0f) / 2.0f : corner.t);
        glVertex3f(corner.x * skyReach, (raised ? lowestY : corner.y) * skyReach, corner.z * skyReach);
    }
    glEnd();
    // The terrain list sends no texture coordinates: it is drawn at the whole face's last one.
    glTexCoord2f(corners[3].s, corners[3].t);
}

}  // namespace

void loadSkybox() {
    std::unique_ptr<RgbImage> images[faceCount];
    for (int i = 0; i < faceCount; ++i) images[i] = loadBmp(facePaths[i]);
    unsigned int* const faces[faceCount] = {&sky.faceXN, &sky.faceXP, &sky.faceYN,
                                            &sky.faceYP, &sky.faceZN, &sky.faceZP};
    for (int i = 0; i < faceCount; ++i) *faces[i] = uploadRgbTexture(*images[i]);
    sky.centreX = 0.0f;
    sky.centreZ = 0.0f;
}

void drawSkybox() {
    const HiddenSky hidden = hiddenSky();
    glPushMatrix();
    // The sky is drawn first and writes no depth, so everything after it lies in front.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glTranslatef(sky.centreX, 0.0f, sky.centreZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    drawFace(sky.faceYP, topCorners);
    if (!hidden.bottom) drawFace(sky.faceYN, bottomCorners);
    drawFace(sky.faceXN, westCorners, hidden.sideBelow[west]);
    drawFace(sky.faceXP, eastCorners, hidden.sideBelow[east]);
    drawFace(sky.faceZN, northCorners, hidden.sideBelow[north]);
    drawFace(sky.faceZP, southCorners, hidden.sideBelow[south]);
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
}
