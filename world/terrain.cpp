#include "world/terrain.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "assets/tga_reader.h"
#include "player/vec3.h"

Heightfield terrain;
unsigned int terrainList;

namespace {

// Rescaled heights run from lowestHeight to lowestHeight + heightSpan.
const float lowestHeight = -3.0f;
const float heightSpan = 12.0f;
// The drawn surface sits this far above its heights, so it rises out of the ground plane.
const float surfaceLift = 2.9f;
// The patch is centred this far along +z from the world origin.
const int patchShiftZ = 100;
// Queries farther out than this cannot hit any grid and would overflow the index maths.
const float farthestQuery = 1.0e7f;
const Vec3 straightUp = {0.0f, 1.0f, 0.0f};

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
    std::printf("Terrain: %s: %s\n", path, problem);
    std::fflush(stdout);
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
    if (sum.y <= 0.0f) return straightUp;
    return normalize(sum);
}

void emitSample(int row, int column) {
    const size_t i = sampleIndex(row, column);
    if (terrain.surfaceColours) glColor3fv(&terrain.surfaceColours[3 * i]);
    if (terrain.surfaceNormals) glNormal3fv(&terrain.surfaceNormals[3 * i]);
    glVertex3f(float(column) - terrain.width / 2.0f, terrain.heights[i] + surfaceLift,
               terrain.depth / 2.0f - float(row) + patchShiftZ);
}

}  // namespace

int loadHeightfield() { return loadHeightfieldFrom(terrainImagePath); }

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
        terrain.heights[i] = normalised * heightSpan + lowestHeight;
    }
    std::printf("terrain: %f %f %f %f %f %f\n", 3.0, 15.0, smallest, largest, 12.0, normalised);
    if (terrain.surfaceNormals) computeHeightfieldNormals();
    return 0;
}

unsigned int buildTerrainList() {
    const unsigned int list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (terrain.surfaceNormals && terrain.surfaceColours) {
        glColorMaterial(GL_FRONT, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    }
    for (int row = 0; terrain.heights && row + 1 < terrain.depth; ++row) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int column = 0; column < terrain.width; ++column) {
            emitSample(row + 1, column);
            emitSample(row, column);
        }
        glEnd();
    }
    glEndList();
    return list;
}

bool terrainHeightAt(float x, float z, float* height) {
    if (!terrain.heights) return false;
    if (!(std::fabs(x) < farthestQuery && std::fabs(z) < farthestQuery)) return false;
    const long column = long(x) + terrain.width / 2;
    const long row = terrain.depth / 2 + patchShiftZ - long(z);
    if (column < 0 || column >= terrain.width || row < 0 || row >= terrain.depth) return false;
    *height = heightAt(int(row), int(column));
    return true;
}
