#include "assets/tga_reader.h"

#include <GL/gl.h>

#include <cstring>
#include <new>

#include "assets/file_bytes.h"
#include "platform/message_box.h"
#include "platform/messages.h"

namespace {

const size_t kTgaHeaderSize = 18;
const size_t kTypeHeaderSize = 12;
const uint8_t kUncompressedTypeHeader[kTypeHeaderSize] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kCompressedTypeHeader[kTypeHeaderSize] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kRawPacketLimit = 128;  // packet headers below this start raw packets
const size_t kMaxRunLength = 128;

// Swaps file order B G R (A) to R G B (A) in every pixel of the block.
void swapRedBlue(uint8_t* pixels, size_t count, size_t stride) {
    for (size_t i = 0; i < count; ++i) {
        uint8_t* pixel = pixels + i * stride;
        uint8_t blue = pixel[0];
        pixel[0] = pixel[2];
        pixel[2] = blue;
    }
}

bool fail(TextureImage* image, const char* message, const char* caption) {
    image->data.clear();
    showMessageBox(message, caption);
    return false;
}

// Makes the pixel block; the caller has checked that the file can hold it.
bool allocatePixels(TextureImage* image, uint64_t size, const char* path) {
    try {
        image->data.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return fail(image, "Could not allocate memory for image", path);
    }
    return true;
}

bool validTextureInfo(const TextureImage& image) {
    return image.width != 0 && image.height != 0 && (image.bitsPerPixel == 24 || image.bitsPerPixel == 32);
}

void readTextureInfo(const uint8_t* info, TextureImage* image) {
    image->width = info[0] + 256u * info[1];
    image->height = info[2] + 256u * info[3];
    image->bitsPerPixel = info[4];
    image->format = image->bitsPerPixel == 32 ? GL_RGBA : GL_RGB;
}

bool loadUncompressedTga(const FileBytes& file, const char* path, TextureImage* image) {
    if (file.size() < kTgaHeaderSize) return fail(image, "Could not read info header", "ERROR");
    readTextureInfo(file.data() + kTypeHeaderSize, image);
    if (!validTextureInfo(*image)) return fail(image, "Invalid texture information", path);
    size_t stride = image->bitsPerPixel / 8;
    uint64_t count = uint64_t(image->width) * image->height;
    if (count * stride > file.size() - kTgaHeaderSize) return fail(image, "Could not read image data", "ERROR");
    if (!allocatePixels(image, count * stride, path)) return false;
    std::memcpy(image->data.data(), file.data() + kTgaHeaderSize, image->data.size());
    swapRedBlue(image->data.data(), size_t(count), stride);
    return true;
}

// Decodes run-length packets into the block; no pixel past width x height is stored.
bool decodeRunLength(const FileBytes& file, const char* path, size_t stride, size_t count,
                     TextureImage* image) {
    size_t at = kTgaHeaderSize;
    size_t current = 0;
    while (current < count) {
        if (at >= file.size()) return fail(image, "Could not read RLE header", path);
        uint8_t header = file[at++];
        bool raw = header < kRawPacketLimit;
        size_t length = raw ? header + 1u : header - 127u;
        size_t left = count - current;
        // Values are read one at a time, so a packet that overfills the image fails only
        // after the value that would go past the end has been read.
        size_t valuesWanted = raw ? (length > left ? left + 1 : length) : 1;
        if ((file.size() - at) / stride < valuesWanted)
            return fail(image, raw ? "Could not read image data" : "Could not read from file", path);
        if (length > left) return fail(image, "Too many pixels read", path);
        size_t valueBytes = raw ? length * stride : stride;
        uint8_t* out = image->data.data() + current * stride;
        for (size_t i = 0; i < length; ++i) {
            std::memcpy(out + i * stride, file.data() + at + (raw ? i * stride : 0), stride);
        }
        swapRedBlue(out, length, stride);
        at += valueBytes;
        current += length;
    }
    return true;
}

bool loadCompressedTga(const FileBytes& file, const char* path, TextureImage* image) {
    if (file.size() < kTgaHeaderSize) return false;
    readTextureInfo(file.data() + kTypeHeaderSize, image);
    if (!validTextureInfo(*image)) return false;
    size_t stride = image->bitsPerPixel / 8;
    uint64_t count = uint64_t(image->width) * image->height;
    // Each packet is at least one header and one pixel value and yields at most 128 pixels,
    // so a declared size the file cannot reach is refused before the block is made.
    uint64_t packetsLeft = (file.size() - kTgaHeaderSize + stride) / (1 + stride);
    if (count > packetsLeft * kMaxRunLength) return fail(image, "Could not read RLE header", path);
    if (!allocatePixels(image, count * stride, path)) return false;
    return decodeRunLength(file, path, stride, size_t(count), image);
}

}  // namespace

bool loadTgaTexture(const char* path, TextureImage* image) {
    image->data.clear();
    FileBytes file;
    if (!readFileBytes(path, &file)) return fail(image, "Could not open texture file", path);
    if (file.size() < kTypeHeaderSize) return fail(image, "Could not read file header", path);
    if (std::memcmp(file.data(), kUncompressedTypeHeader, kTypeHeaderSize) == 0)
        return loadUncompressedTga(file, path, image);
    if (std::memcmp(file.data(), kCompressedTypeHeader, kTypeHeaderSize) == 0)
        return loadCompressedTga(file, path, image);
    return fail(image, "TGA file be type 2 or type 10 ", path);
}

namespace {

const uint8_t kColourMappedType = 1;
const uint8_t kTrueColourType = 2;
const uint8_t kGreyscaleType = 3;
const size_t kMaxTerrainPixelBytes = 4;

std::unique_ptr<TgaImage> terrainFailure(std::unique_ptr<TgaImage> image, int32_t status, const char* path,
                                         const char* reason) {
    image->status = status;
    image->data.clear();
    sayf("loadTerrainTga(): can't read \"%s\": %s.\n", path, reason);
    return image;
}

// Where the pixels start: after the header, the image ID and any colour map.
uint64_t terrainPixelOffset(const uint8_t* header) {
    uint64_t offset = kTgaHeaderSize + header[0];
    if (header[1] != 0) offset += uint64_t(readLe16(header + 5)) * ((header[7] + 7u) / 8u);
    return offset;
}

}  // namespace

std::unique_ptr<TgaImage> loadTerrainTga(const char* path) {
    std::unique_ptr<TgaImage> image(new (std::nothrow) TgaImage());
    if (!image) return image;
    FileBytes file;
    if (!readFileBytes(path, &file)) return terrainFailure(std::move(image), -5, path, "can't open file");
    if (file.size() < kTgaHeaderSize) return terrainFailure(std::move(image), -4, path, "header cut short");
    const uint8_t* header = file.data();
    image->imageType = header[2];
    image->width = int16_t(readLe16(header + 12));
    image->height = int16_t(readLe16(header + 14));
    image->bitsPerPixel = header[16];
    if (image->imageType == kColourMappedType)
        return terrainFailure(std::move(image), -3, path, "colour-mapped image");
    if (image->imageType != kTrueColourType && image->imageType != kGreyscaleType)
        return terrainFailure(std::move(image), -1, path, "not an uncompressed colour or grey image");
    size_t stride = image->bitsPerPixel / 8;
    if (image->width <= 0 || image->height <= 0 || stride < 1 || stride > kMaxTerrainPixelBytes)
        return terrainFailure(std::move(image), -1, path, "unsupported size or pixel size");
    uint64_t count = uint64_t(image->width) * uint64_t(image->height);
    uint64_t offset = terrainPixelOffset(header);
    if (offset > file.size() || count * stride > file.size() - offset)
        return terrainFailure(std::move(image), -4, path, "pixel data cut short");
    try {
        image->data.assign(file.begin() + offset, file.begin() + offset + count * stride);
    } catch (const std::bad_alloc&) {
        return terrainFailure(std::move(image), -2, path, "NO MEMORY");
    }
    if (stride >= 3) swapRedBlue(image->data.data(), size_t(count), stride);
    image->status = 0;
    return image;
}

void tgaToGreyscale(TgaImage* image) {
    if (image->bitsPerPixel == 8) return;
    size_t stride = image->bitsPerPixel / 8;
    if (stride < 3 || image->width <= 0 || image->height <= 0) return;
    size_t count = size_t(image->width) * size_t(image->height);
    if (image->data.size() < count * stride) return;
    std::vector<uint8_t> grey;
    // Without memory for the grey pixels the image stays as it is; the terrain reports that.
    try {
        grey.resize(count);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* pixel = image->data.data() + i * stride;
        grey[i] = uint8_t(0.59 * pixel[1] + 0.3 * pixel[0] + 0.11 * pixel[2]);
    }
    image->data.swap(grey);
    image->imageType = kGreyscaleType;
    image->bitsPerPixel = 8;
}
