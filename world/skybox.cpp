#include "world/skybox.h"

#include <GL/gl.h>

#include <memory>

#include "assets/bmp_reader.h"

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

void drawFace(unsigned int texture, const SkyCorner (&corners)[4]) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Clamped, so texels from a picture's opposite edge never bleed along a face border.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    for (const SkyCorner& corner : corners) {
        glTexCoord2f(corner.s, corner.t);
        glVertex3f(corner.x * skyReach, corner.y * skyReach, corner.z * skyReach);
    }
    glEnd();
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
    drawFace(sky.faceYN, bottomCorners);
    drawFace(sky.faceXN, westCorners);
    drawFace(sky.faceXP, eastCorners);
    drawFace(sky.faceZN, northCorners);
    drawFace(sky.faceZP, southCorners);
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
}
