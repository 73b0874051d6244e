#pragma once
// TGA pictures: model textures (types 2 and 10, 24/32 bits) and the terrain's
// height source (types 2 and 3).
#include <cstdint>
#include <memory>
#include <vector>

struct TextureImage {
    std::vector<uint8_t> data;  // width x height x bytes per pixel, R G B (A); empty when nothing was read
    uint32_t bitsPerPixel;
    uint32_t width;
    uint32_t height;
    uint32_t format;  // GL_RGB or GL_RGBA
};

struct TgaImage {
    int32_t status;  // 0 read, -1 bad type, -2 no memory, -3 colour-mapped, -4 read error, -5 cannot open
    uint8_t imageType;
    uint8_t bitsPerPixel;
    int16_t width;
    int16_t height;
    std::vector<uint8_t> data;
};

const char* const terrainImagePath = "resources/vorlane.tga";

bool loadTgaTexture(const char* path, TextureImage* image);
// Null only when the record itself cannot be allocated; the caller checks status.
std::unique_ptr<TgaImage> loadTerrainTga(const char* path = terrainImagePath);
void tgaToGreyscale(TgaImage* image);
