#pragma once
// The heightmap terrain: one sample per pixel of "resources/vorlane.tga",
// rescaled to heights -3..9, lit, drawn from a display list.
#include <cstdint>

struct Heightfield {
    int32_t width;           // samples per row, along world +x
    int32_t depth;           // rows, along world -z
    float* heights;          // width x depth
    float* surfaceNormals;   // 3 per sample
    float* surfaceColours;   // 3 per sample, only for 32-bit images
};

extern Heightfield terrain;
extern unsigned int terrainList;

int loadHeightfield();     // 0, -4 unreadable image, -3 out of memory
int rescaleHeightfield();  // 0, -1 without heights
void computeHeightfieldNormals();
unsigned int buildTerrainList();
// The sample under world (x, z); false outside the grid.
bool terrainHeightAt(float x, float z, float* height);
