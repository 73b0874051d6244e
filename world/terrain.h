#pragma once
// The heightmap terrain: one sample per pixel of "resources/vorlane.tga",
// rescaled to heights -3..9, lit, drawn from a display list.
#include <cstdint>

struct TgaImage;

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
// As loadHeightfield, from any TGA file. Accepts 8-bit grey, 24-bit colour (made
// grey), and 16- and 32-bit images whose last byte holds the height; any other pixel size,
// an empty image or short pixel data gives -4 and a message naming the file.
// A failed load leaves no terrain at all.
int loadHeightfieldFrom(const char* path);
// The same from an image already read; path only names it in messages.
int buildHeightfield(TgaImage& image, const char* path);
int rescaleHeightfield();  // 0, -1 without heights
void computeHeightfieldNormals();
unsigned int buildTerrainList();
// The sample under world (x, z); false outside the grid.
bool terrainHeightAt(float x, float z, float* height);
