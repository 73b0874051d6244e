#pragma once
// 24-bit uncompressed BMP pictures.
// Accepted: info headers of 40 bytes (and the longer 108 and 124, read with the
// 40-byte layout) or 12 bytes (OS/2, 16-bit sizes), 24 bits per pixel, no
// compression, bottom-up or top-down rows. Anything else, a missing or short file
// and sizes that overflow give a 0 x 0 image and one line naming the file.
#include <cstdint>
#include <memory>
#include <vector>

struct RgbImage {
    std::vector<uint8_t> pixels;  // width x height x 3, R G B, rows packed, bottom row first
    int32_t width;
    int32_t height;
};

// Never null; a file it cannot read safely gives a 0 x 0 image.
std::unique_ptr<RgbImage> loadBmp(const char* path);
