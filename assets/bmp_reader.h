#pragma once
// 24-bit uncompressed BMP pictures and their upload as RGB textures.
#include <cstdint>
#include <memory>
#include <vector>

struct RgbImage {
    std::vector<uint8_t> pixels;  // width x height x 3, R G B, rows packed, file row order
    int32_t width;
    int32_t height;
};

// Never null; a file it cannot read safely gives a 0 x 0 image.
std::unique_ptr<RgbImage> loadBmp(const char* path);
// A new texture holding the image at level 0; stays bound; no parameters set.
unsigned int uploadRgbTexture(const RgbImage& image);
