#pragma once
// TGA pictures, with two readers.
// loadTgaTexture (model textures): true-colour images of 24 or 32 bits, uncompressed
// (type 2) or run-length encoded (type 10), with no ID field, colour map or origin.
// Every problem is shown in a message box and gives no pixels.
// loadTerrainTga (the terrain's height source): uncompressed true-colour (type 2) or
// greyscale (type 3) images of 1 to 4 bytes per pixel; an ID field and a colour map
// are skipped. Problems are reported through status and one line naming the file.
// Both give rows in the file's order with colour pixels as R G B (A).
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

const char* const kTerrainImagePath = "resources/vorlane.tga";

bool loadTgaTexture(const char* path, TextureImage* image);
// Null only when the record itself cannot be allocated; the caller checks status.
// Sizes that are not positive and pixel sizes outside 1 to 4 bytes give status -1;
// a file shorter than its pixels gives -4 and no pixels.
std::unique_ptr<TgaImage> loadTerrainTga(const char* path = kTerrainImagePath);
// Turns pixels of 3 or 4 bytes into 8-bit grey; leaves any other image unchanged.
void tgaToGreyscale(TgaImage* image);
