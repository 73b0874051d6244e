#pragma once
// The sky box: a textured cube, kSkyReach from its centre to each wall, that
// travels with the camera over the ground.

struct Skybox {
    unsigned int faceXN, faceXP, faceYN, faceYP, faceZN, faceZP;
    float centreX;  // the game step moves the centre with the camera
    float centreZ;
};

extern Skybox sky;

void loadSkybox();
void centreSkyOn(float x, float z);
void moveSkyBy(float dx, float dz);
// The sky about the given centre, where a frame draws it; also the frame's only
// depth clear. It leaves blending off: everything the scene draws is opaque.
void drawSkybox(float centreX, float centreZ);
