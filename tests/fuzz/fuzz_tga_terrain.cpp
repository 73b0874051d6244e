#include <cstdlib>

#include "assets/tga_reader.h"
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto image = loadTerrainTga(writeFuzzFile("input.tga", data, size).c_str());
    if (!image) std::abort();
    if (image->status != 0) {
        if (!image->data.empty()) std::abort();
        return 0;
    }
    if (image->data.size() != size_t(image->width) * image->height * (image->bitsPerPixel / 8)) std::abort();
    tgaToGreyscale(image.get());
    return 0;
}
