#include <cstdlib>

#include "assets/tga_reader.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto image = loadTerrainTga(writeFuzzFile("input.tga", data, size).c_str());
    // A refused image holds no pixels, a read one exactly its declared size.
    size_t declared = image->status == 0 ? size_t(image->width) * image->height * (image->bitsPerPixel / 8) : 0;
    if (image->data.size() != declared) std::abort();
    tgaToGreyscale(image.get());
    return 0;
}
