#include "assets/bmp_reader.h"


#include "assets/file_bytes.h"
#include "platform/messages.h"

namespace {

const size_t kFileHeaderSize = 14;
const uint32_t kWindowsInfoSize = 40;
const uint32_t kWindowsV4InfoSize = 108;
const uint32_t kWindowsV5InfoSize = 124;
const uint32_t kOs2InfoSize = 12;
const uint16_t kSupportedBitCount = 24;
const uint32_t kUncompressed = 0;

struct BmpLayout {
    uint32_t dataOffset;
    int64_t width;
    int64_t height;  // negative: rows stored top row first
};

// Fills layout from the headers; returns the reason when the picture is not one we read.
const char* readLayout(const FileBytes& file, BmpLayout* layout) {
    if (file.size() < kFileHeaderSize + 4) return "file too short for its header";
    const uint8_t* bytes = file.data();
    layout->dataOffset = readLe32(bytes + 10);
    uint32_t infoSize = readLe32(bytes + 14);
    if (infoSize == kOs2InfoSize) {
        if (file.size() < kFileHeaderSize + kOs2InfoSize) return "file too short for its header";
        layout->width = int16_t(readLe16(bytes + 18));
        layout->height = int16_t(readLe16(bytes + 20));
        if (readLe16(bytes + 24) != kSupportedBitCount) return "not 24 bits per pixel";
        return nullptr;
    }
    if (infoSize != kWindowsInfoSize && infoSize != kWindowsV4InfoSize && infoSize != kWindowsV5InfoSize)
        return "unsupported info header size";
    if (file.size() < kFileHeaderSize + kWindowsInfoSize) return "file too short for its header";
    layout->width = int32_t(readLe32(bytes + 18));
    layout->height = int32_t(readLe32(bytes + 22));
    if (readLe16(bytes + 28) != kSupportedBitCount) return "not 24 bits per pixel";
    if (readLe32(bytes + 30) != kUncompressed) return "compressed";
    return nullptr;
}

// Converts the stored B G R rows, padded to 4 bytes, into packed R G B rows, bottom row first.
const char* convertPixels(const FileBytes& file, const BmpLayout& layout, RgbImage* image) {
    if (layout.width <= 0 || layout.height == 0) return "empty or negative size";
    bool topDown = layout.height < 0;
    int64_t height = topDown ? -layout.height : layout.height;
    int64_t rowSize = (layout.width * 3 + 3) / 4 * 4;
    // Divide rather than multiply, so no size from the file can overflow.
    int64_t available = int64_t(file.size()) - int64_t(layout.dataOffset);
    if (available < rowSize || height > available / rowSize) return "pixel data runs past the end";
    if (layout.width * height > INT32_MAX / 3) return "picture too large";
    image->pixels.resize(size_t(layout.width * height * 3));
    const uint8_t* data = file.data() + layout.dataOffset;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = data + (topDown ? height - 1 - y : y) * rowSize;
        uint8_t* out = image->pixels.data() + y * layout.width * 3;
        for (int64_t x = 0; x < layout.width; ++x) {
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }
    image->width = int32_t(layout.width);
    image->height = int32_t(height);
    return nullptr;
}

}  // namespace

std::unique_ptr<RgbImage> loadBmp(const char* path) {
    auto image = std::make_unique<RgbImage>();
    FileBytes file;
    const char* problem = nullptr;
    BmpLayout layout{};
    if (!readFileBytes(path, &file)) problem = "can't open file";
    if (!problem) problem = readLayout(file, &layout);
    if (!problem) problem = convertPixels(file, layout, image.get());
    if (problem) {
        sayf("loadBmp(): can't read \"%s\": %s.\n", path, problem);
        image->pixels.clear();
        image->width = 0;
        image->height = 0;
    }
    return image;
}
