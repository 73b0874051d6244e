#pragma once
// The heightmap terrain: one sample per pixel of "resources/vorlane.tga",
// rescaled to heights -3..9, lit, drawn from display lists of ever coarser
// grids: far off, a coarser grid draws the same picture in a fraction of the time.
#include <cstdint>
#include <vector>

#include "assets/vec3.h"

struct TgaImage;
struct ViewVolume;

struct Heightfield {
    int32_t width;           // samples per row, along world +x
    int32_t depth;           // rows, along world -z
    float* heights;          // width x depth
    float* surfaceNormals;   // 3 per sample
    float* surfaceColours;   // 3 per sample, only for 32-bit images
};

// The grid is drawn in square tiles of this many cells a side (the last ones
// may be smaller), each from grids of every 1st, 2nd, 4th and 8th sample that
// end on the tile's last row and column, so neighbours drawn at the same
// detail share their edges.
const int kTerrainTileCells = 16;
const int kTerrainDetailLevels = 4;

struct TerrainTile {
    int firstRow, lastRow, firstColumn, lastColumn;
    unsigned int lists[kTerrainDetailLevels];  // finest first
    float strays[kTerrainDetailLevels];        // the most each grid's surface lies above or below a sample
    Vec3 centre;                               // a ball round the tile's drawn surface
    float radius;
};

extern Heightfield terrain;
extern std::vector<TerrainTile> terrainTiles;

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
void buildTerrainDrawing();
// Each tile of the terrain that can show, at the detail its nearest point needs.
void drawTerrain(const ViewVolume& view);
// The tile's coarsest grid that strays less than half a pixel, with cells under a pixel, where a unit spans this
// many pixels.
unsigned int tileListFor(const TerrainTile& tile, float pixelsPerUnit);
// The sample under world (x, z); false outside the grid.
bool terrainHeightAt(float x, float z, float* height);
