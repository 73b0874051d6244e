#pragma once
// The sky box: a 20000-unit textured cube that travels with the camera.

struct Skybox {
    unsigned int faceXN, faceXP, faceYN, faceYP, faceZN, faceZP;
    float centreX;
    float centreZ;
};

extern Skybox sky;

void loadSkybox();
void drawSkybox();  // also the frame's only depth clear
