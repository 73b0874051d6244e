#include <cstdlib>

#include "assets/bmp_reader.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto image = loadBmp(writeFuzzFile("input.bmp", data, size).c_str());
    // What the upload would read must be exactly what the image holds.
    size_t expected = image->width > 0 && image->height > 0 ? size_t(image->width) * image->height * 3 : 0;
    if (image->width < 0 || image->height < 0 || image->pixels.size() != expected) std::abort();
    return 0;
}
