#include "world/skybox.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "assets/textures.h"
#include "assets/vec3.h"
#include "player/world_extents.h"

Skybox sky;

namespace {

const int kFaceCount = 6;

// Loading order: -x, +x, bottom, top, -z, +z.
const char* const kFacePaths[kFaceCount] = {
    "resources/XN.bmp", "resources/XP.bmp", "resources/YN.bmp",
    "resources/YP.bmp", "resources/ZN.bmp", "resources/ZP.bmp",
};

// One corner of a face: texture coordinate, then position in units of kSkyReach.
struct SkyCorner {
    float s, t;
    float x, y, z;
};

// On the side faces t = 0 is the bottom edge, so pictures stored bottom row first stand upright.
const SkyCorner kTopCorners[4] = {{0, 0, -1, 1, -1}, {1, 0, -1, 1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}};
const SkyCorner kBottomCorners[4] = {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, 1, -1, 1}, {0, 1, 1, -1, -1}};
const SkyCorner kWestCorners[4] = {{0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, -1, 1, 1}, {1, 0, -1, -1, 1}};
const SkyCorner kEastCorners[4] = {{0, 1, 1, 1, -1}, {1, 1, 1, 1, 1}, {1, 0, 1, -1, 1}, {0, 0, 1, -1, -1}};
const SkyCorner kNorthCorners[4] = {{0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, 1, 1, -1}, {1, 0, 1, -1, -1}};
const SkyCorner kSouthCorners[4] = {{0, 0, -1, -1, 1}, {0, 1, -1, 1, 1}, {1, 1, 1, 1, 1}, {1, 0, 1, -1, 1}};

// The ground plane, drawn later in every frame, filled and opaque, hides all of
// the sky that the eye sees through it: the bottom face, and each side face
// below some height, nearly all of the screen at a level's start. That part of
// the sky is not drawn; below the hidden heights found, the ground still covers
// a few pixels' worth of sky more, against rounding.
const float kHiddenMargin = 50.0f;
// Lower eyes are left the whole sky: the near plane might cut the ground away.
const float kLowestHidingEye = 2.0f;
const float kNowhere = -std::numeric_limits<float>::infinity();

// The sky's columns, its four vertical edges in units of kSkyReach, and which two bound each side face.
const float kColumnX[4] = {-1, -1, 1, 1};
const float kColumnZ[4] = {-1, 1, 1, -1};
enum SideFace { west, east, north, south };
const int kFaceColumns[4][2] = {{0, 1}, {2, 3}, {0, 3}, {1, 2}};

// Heights up to which each side face is hidden, in units of kSkyReach (-1: none of it).
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
    if (!(fraction > 0.0f)) return kNowhere;
    return std::fmin(0.0f, eye.y * (1.0f - 1.0f / fraction)) - kHiddenMargin;
}

// The ground's shadow on the sky, cast from the eye. It is convex on every face,
// so a face part is hidden when its corners are.
HiddenSky hiddenSky(float centreX, float centreZ) {
    HiddenSky hidden = {{-1, -1, -1, -1}, false};
    GLint polygonModes[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonModes);
    Vec3 eye;
    if (polygonModes[0] != GL_FILL || polygonModes[1] != GL_FILL || !eyeInWorld(&eye)) return hidden;
    if (eye.y < kLowestHidingEye || std::fabs(eye.x) >= kGroundHalfSize || std::fabs(eye.z) >= kGroundHalfSize) {
        return hidden;
    }
    float below[4];
    for (int i = 0; i < 4; ++i) {
        const float x = centreX + kColumnX[i] * kSkyReach, z = centreZ + kColumnZ[i] * kSkyReach;
        below[i] = hiddenBelowAt(eye, x, z) / kSkyReach;
    }
    hidden.bottom = *std::min_element(below, below + 4) > -1.0f;
    for (int face = 0; face < 4; ++face) {
        const float lowerColumn = std::fmin(below[kFaceColumns[face][0]], below[kFaceColumns[face][1]]);
        hidden.sideBelow[face] = std::fmax(-1.0f, lowerColumn);
    }
    return hidden;
}

// Corners below lowestY are drawn at lowestY, with the side faces' t of that height.
void drawFace(unsigned int texture, const SkyCorner (&corners)[4], float lowestY = -1.0f) {
    bindLinearClamped(texture);
    glBegin(GL_QUADS);
    for (const SkyCorner& corner : corners) {
        const bool raised = corner.y < lowestY;
        glTexCoord2f(corner.s, raised ? (lowestY + 1.0f) / 2.0f : corner.t);
        glVertex3f(corner.x * kSkyReach, (raised ? lowestY : corner.y) * kSkyReach, corner.z * kSkyReach);
    }
    glEnd();
    // The terrain list sends no texture coordinates: it is drawn at the whole face's last one.
    glTexCoord2f(corners[3].s, corners[3].t);
}

}  // namespace

void loadSkybox() {
    unsigned int* const faces[kFaceCount] = {&sky.faceXN, &sky.faceXP, &sky.faceYN,
                                             &sky.faceYP, &sky.faceZN, &sky.faceZP};
    for (int i = 0; i < kFaceCount; ++i) *faces[i] = textureFromBmp(kFacePaths[i]);
    centreSkyOn(0.0f, 0.0f);
}

void centreSkyOn(float x, float z) {
    sky.centreX = x;
    sky.centreZ = z;
}

void moveSkyBy(float dx, float dz) {
    sky.centreX += dx;
    sky.centreZ += dz;
}

void drawSkybox(float centreX, float centreZ) {
    const HiddenSky hidden = hiddenSky(centreX, centreZ);
    glPushMatrix();
    // The sky is drawn first and writes no depth, so everything after it lies in front.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glTranslatef(centreX, 0.0f, centreZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    drawFace(sky.faceYP, kTopCorners);
    if (!hidden.bottom) drawFace(sky.faceYN, kBottomCorners);
    drawFace(sky.faceXN, kWestCorners, hidden.sideBelow[west]);
    drawFace(sky.faceXP, kEastCorners, hidden.sideBelow[east]);
    drawFace(sky.faceZN, kNorthCorners, hidden.sideBelow[north]);
    drawFace(sky.faceZP, kSouthCorners, hidden.sideBelow[south]);
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}
