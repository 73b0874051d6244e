#include "world/terrain.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "assets/camera.h"
#include "assets/render_options.h"
#include "assets/shader_program.h"
#include "assets/tga_reader.h"
#include "assets/vec3.h"
#include "assets/view_volume.h"
#include "platform/messages.h"

Heightfield terrain;
std::vector<TerrainTile> terrainTiles;

namespace {

// Rescaled heights run from kLowestHeight to kLowestHeight + kHeightSpan.
const float kLowestHeight = -3.0f;
const float kHeightSpan = 12.0f;
// The drawn surface sits this far above its heights, so it rises out of the ground plane.
const float kSurfaceLift = 2.9f;
// The patch is centred this far along +z from the world origin.
const int kPatchShiftZ = 100;
// Queries farther out than this cannot hit any grid and would overflow the index maths.
const float kFarthestQuery = 1.0e7f;
const Vec3 kStraightUp = {0.0f, 1.0f, 0.0f};
// A coarser grid is drawn only where it strays less than this many pixels from
// the full one, and where its cells span less than a pixel: it lights its
// surface at fewer points, which would move the colours of any cell large
// enough to see.
const float kMostStrayPixels = 0.5f;
const float kLargestCellPixels = 1.0f;

void releaseHeightfield() {
    std::free(terrain.heights);
    std::free(terrain.surfaceColours);
    std::free(terrain.surfaceNormals);
    terrain = Heightfield{};
}

size_t sampleCount() { return size_t(terrain.width) * size_t(terrain.depth); }

size_t sampleIndex(int row, int column) { return size_t(row) * size_t(terrain.width) + size_t(column); }

float heightAt(int row, int column) { return terrain.heights[sampleIndex(row, column)]; }

void reportLoadFailure(const char* path, const char* problem) {
    sayf("Terrain: %s: %s\n", path, problem);
}

// Null when the image has pixels of a size the terrain takes and all of its pixel data.
const char* imageProblem(const TgaImage& image) {
    if (image.width <= 0 || image.height <= 0) return "image has no pixels";
    const unsigned bits = image.bitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return "pixel size is not 8, 16, 24 or 32 bits";
    const size_t needed = size_t(image.width) * size_t(image.height) * (bits / 8);
    if (image.data.size() < needed) return "pixel data is shorter than the image";
    return nullptr;
}

// Heights from the last byte of each pixel (grey, alpha or the high byte);
// colours from 32-bit pixels.
int fillHeightfield(const TgaImage& image) {
    const size_t bytesPerPixel = image.bitsPerPixel / 8;
    terrain.width = image.width;
    terrain.depth = image.height;
    const size_t samples = sampleCount();
    terrain.heights = static_cast<float*>(std::malloc(samples * sizeof(float)));
    terrain.surfaceNormals = static_cast<float*>(std::malloc(samples * 3 * sizeof(float)));
    if (bytesPerPixel == 4) terrain.surfaceColours = static_cast<float*>(std::malloc(samples * 3 * sizeof(float)));
    if (!terrain.heights || !terrain.surfaceNormals || (bytesPerPixel == 4 && !terrain.surfaceColours)) return -3;
    for (size_t i = 0; i < samples; ++i) {
        const uint8_t* pixel = &image.data[i * bytesPerPixel];
        terrain.heights[i] = pixel[bytesPerPixel - 1] / 256.0f;
        if (terrain.surfaceColours) {
            for (int k = 0; k < 3; ++k) terrain.surfaceColours[3 * i + k] = pixel[k] / 256.0f;
        }
    }
    return 0;
}

int fillFromImage(TgaImage& image, const char* path) {
    if (const char* problem = imageProblem(image)) {
        reportLoadFailure(path, problem);
        return -4;
    }
    if (image.bitsPerPixel == 24) {
        tgaToGreyscale(&image);
        if (image.bitsPerPixel != 8 || imageProblem(image)) {
            reportLoadFailure(path, "out of memory for the grey image");
            return -3;
        }
    }
    if (fillHeightfield(image) != 0) {
        reportLoadFailure(path, "out of memory for the heights");
        return -3;
    }
    computeHeightfieldNormals();
    return 0;
}

// The sum of the unit normals of the triangles around a sample, in grid axes
// (x = column, y = height, z = row). A sample with no triangle (a grid one
// sample wide or deep) faces straight up.
Vec3 sampleNormal(int row, int column) {
    const float h = heightAt(row, column);
    const bool hasLeft = column > 0, hasRight = column < terrain.width - 1;
    const bool hasUp = row > 0, hasDown = row < terrain.depth - 1;
    const Vec3 left = {-1.0f, hasLeft ? heightAt(row, column - 1) - h : 0.0f, 0.0f};
    const Vec3 right = {1.0f, hasRight ? heightAt(row, column + 1) - h : 0.0f, 0.0f};
    const Vec3 up = {0.0f, hasUp ? heightAt(row - 1, column) - h : 0.0f, -1.0f};
    const Vec3 down = {0.0f, hasDown ? heightAt(row + 1, column) - h : 0.0f, 1.0f};
    Vec3 sum = {0.0f, 0.0f, 0.0f};
    if (hasLeft && hasDown) sum = add(sum, normalize(cross(left, down)));
    if (hasDown && hasRight) sum = add(sum, normalize(cross(down, right)));
    if (hasRight && hasUp) sum = add(sum, normalize(cross(right, up)));
    if (hasUp && hasLeft) sum = add(sum, normalize(cross(up, left)));
    if (sum.y <= 0.0f) return kStraightUp;
    return normalize(sum);
}

// Where a sample of this height is drawn.
Vec3 gridPoint(int row, int column, float height) {
    return {float(column) - terrain.width / 2.0f, height + kSurfaceLift,
            terrain.depth / 2.0f - float(row) + kPatchShiftZ};
}

void emitSample(int row, int column) {
    const size_t i = sampleIndex(row, column);
    if (terrain.surfaceColours) glColor3fv(&terrain.surfaceColours[3 * i]);
    if (terrain.surfaceNormals) glNormal3fv(&terrain.surfaceNormals[3 * i]);
    const Vec3 at = gridPoint(row, column, terrain.heights[i]);
    glVertex3f(at.x, at.y, at.z);
}

// The next sample along a grid taken every step-th sample, ending on the last one.
int nextSample(int at, int step, int last) { return std::min(at + step, last); }

// The height a coarse cell's surface gives at a sample inside it. Each cell of a
// strip is cut along the diagonal from its first row and column to the next.
float cellHeightAt(int row, int column, int firstRow, int firstColumn, int nextRow, int nextColumn) {
    const float v = float(row - firstRow) / float(nextRow - firstRow);
    const float u = float(column - firstColumn) / float(nextColumn - firstColumn);
    const float corner = heightAt(firstRow, firstColumn), farCorner = heightAt(nextRow, nextColumn);
    const float belowCorner = heightAt(nextRow, firstColumn), besideCorner = heightAt(firstRow, nextColumn);
    if (v >= u) return corner + (belowCorner - corner) * v + (farCorner - belowCorner) * u;
    return corner + (besideCorner - corner) * u + (farCorner - besideCorner) * v;
}

// How far the tile's grid of every step-th sample lies above or below any sample of the full grid.
float gridStray(const TerrainTile& tile, int step) {
    float stray = 0.0f;
    for (int row = tile.firstRow; row < tile.lastRow; row = nextSample(row, step, tile.lastRow)) {
        const int nextRow = nextSample(row, step, tile.lastRow);
        for (int column = tile.firstColumn; column < tile.lastColumn;) {
            const int nextColumn = nextSample(column, step, tile.lastColumn);
            for (int r = row; r <= nextRow; ++r) {
                for (int c = column; c <= nextColumn; ++c) {
                    const float surface = cellHeightAt(r, c, row, column, nextRow, nextColumn);
                    stray = std::fmax(stray, std::fabs(surface - heightAt(r, c)));
                }
            }
            column = nextColumn;
        }
    }
    return stray;
}

void compileGrid(const TerrainTile& tile, unsigned int list, int step) {
    glNewList(list, GL_COMPILE);
    if (terrain.surfaceNormals && terrain.surfaceColours) {
        glColorMaterial(GL_FRONT, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    }
    for (int row = tile.firstRow; row < tile.lastRow; row = nextSample(row, step, tile.lastRow)) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int column = tile.firstColumn;; column = nextSample(column, step, tile.lastColumn)) {
            emitSample(nextSample(row, step, tile.lastRow), column);
            emitSample(row, column);
            if (column == tile.lastColumn) break;
        }
        glEnd();
    }
    glEndList();
}

// Round the tile's corners at its lowest and highest drawn heights.
void placeTileBall(TerrainTile* tile) {
    float lowest = heightAt(tile->firstRow, tile->firstColumn), highest = lowest;
    for (int row = tile->firstRow; row <= tile->lastRow; ++row) {
        for (int column = tile->firstColumn; column <= tile->lastColumn; ++column) {
            lowest = std::fmin(lowest, heightAt(row, column));
            highest = std::fmax(highest, heightAt(row, column));
        }
    }
    const Vec3 firstCorner = gridPoint(tile->firstRow, tile->firstColumn, lowest);
    const Vec3 lastCorner = gridPoint(tile->lastRow, tile->lastColumn, highest);
    tile->centre = scale(add(firstCorner, lastCorner), 0.5f);
    const Vec3 reach = sub(lastCorner, tile->centre);
    tile->radius = std::sqrt(reach.x * reach.x + reach.y * reach.y + reach.z * reach.z);
}

TerrainTile buildTile(int firstRow, int firstColumn) {
    TerrainTile tile = {firstRow, std::min(firstRow + kTerrainTileCells, terrain.depth - 1), firstColumn,
                        std::min(firstColumn + kTerrainTileCells, terrain.width - 1), {}, {}, {}, 0.0f};
    const unsigned int first = glGenLists(kTerrainDetailLevels);
    for (int level = 0; level < kTerrainDetailLevels; ++level) {
        tile.lists[level] = first + level;
        tile.strays[level] = gridStray(tile, 1 << level);
        compileGrid(tile, tile.lists[level], 1 << level);
    }
    placeTileBall(&tile);
    return tile;
}

}  // namespace

int loadHeightfield() { return loadHeightfieldFrom(kTerrainImagePath); }

int loadHeightfieldFrom(const char* path) {
    releaseHeightfield();
    std::unique_ptr<TgaImage> image = loadTerrainTga(path);
    if (!image) {
        reportLoadFailure(path, "no memory for the image");
        return -4;
    }
    if (image->status != 0) return -4;  // the reader has said why, naming the file
    return buildHeightfield(*image, path);
}

int buildHeightfield(TgaImage& image, const char* path) {
    releaseHeightfield();
    const int status = fillFromImage(image, path);
    if (status != 0) releaseHeightfield();
    return status;
}

void computeHeightfieldNormals() {
    if (!terrain.surfaceNormals || !terrain.heights) return;
    for (int row = 0; row < terrain.depth; ++row) {
        for (int column = 0; column < terrain.width; ++column) {
            const Vec3 n = sampleNormal(row, column);
            float* stored = &terrain.surfaceNormals[3 * sampleIndex(row, column)];
            // Rows run toward world -z.
            stored[0] = n.x;
            stored[1] = n.y;
            stored[2] = -n.z;
        }
    }
}

int rescaleHeightfield() {
    if (!terrain.heights) return -1;
    const size_t samples = sampleCount();
    float smallest = terrain.heights[0], largest = terrain.heights[0];
    for (size_t i = 1; i < samples; ++i) {
        smallest = std::fmin(smallest, terrain.heights[i]);
        largest = std::fmax(largest, terrain.heights[i]);
    }
    // A flat image has no relief to stretch: it lies flat at the lowest height.
    const float spread = largest - smallest;
    float normalised = 0.0f;
    for (size_t i = 0; i < samples; ++i) {
        normalised = spread > 0.0f ? (terrain.heights[i] - smallest) / spread : 0.0f;
        terrain.heights[i] = normalised * kHeightSpan + kLowestHeight;
    }
    sayf("terrain: %f %f %f %f %f %f\n", 3.0, 15.0, smallest, largest, 12.0, normalised);
    if (terrain.surfaceNormals) computeHeightfieldNormals();
    return 0;
}

void buildTerrainDrawing() {
    terrainTiles.clear();
    for (int row = 0; terrain.heights && row + 1 < terrain.depth; row += kTerrainTileCells)
        for (int column = 0; column + 1 < terrain.width; column += kTerrainTileCells)
            terrainTiles.push_back(buildTile(row, column));
}

// Back faces are left out: seen from above all of the terrain, as the camera
// always is, each lies behind the terrain's front faces. In wireframe they show.
// The terrain's program lights it as the fixed-function pipeline would, but
// applies the one texel the terrain shows to each sample rather than each pixel.
void drawTerrain(const ViewVolume& view) {
    glPushAttrib(GL_ENABLE_BIT);
    const bool programmed = useTerrainProgram();
    if (!renderOptions.wireframe) glEnable(GL_CULL_FACE);
    for (const TerrainTile& tile : terrainTiles) {
        if (!ballCanShow(view, tile.centre, tile.radius)) continue;
        const float depth = std::max(nearestDepth(view, tile.centre, tile.radius), float(kNearPlane));
        glCallList(tileListFor(tile, view.pixelsPerUnitDepth / depth));
    }
    if (programmed) useShaderProgram(0);
    glPopAttrib();
}

unsigned int tileListFor(const TerrainTile& tile, float pixelsPerUnit) {
    int level = kTerrainDetailLevels - 1;
    while (level > 0 && !(tile.strays[level] * pixelsPerUnit < kMostStrayPixels &&
                          float(1 << level) * pixelsPerUnit < kLargestCellPixels))
        --level;
    return tile.lists[level];
}

bool terrainHeightAt(float x, float z, float* height) {
    if (!terrain.heights) return false;
    if (!(std::fabs(x) < kFarthestQuery && std::fabs(z) < kFarthestQuery)) return false;
    const long column = long(x) + terrain.width / 2;
    const long row = terrain.depth / 2 + kPatchShiftZ - long(z);
    if (column < 0 || column >= terrain.width || row < 0 || row >= terrain.depth) return false;
    *height = heightAt(int(row), int(column));
    return true;
}
