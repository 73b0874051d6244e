#include <GL/gl.h>

#include <cstdlib>

#include "assets/tga_reader.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextureImage image{};
    bool loaded = loadTgaTexture(writeFuzzFile("input.tga", data, size).c_str(), &image);
    // A refused image holds no pixels, a read one exactly what the upload will read.
    size_t declared = loaded ? size_t(image.width) * image.height * (image.format == GL_RGBA ? 4 : 3) : 0;
    if (image.data.size() != declared) std::abort();
    return 0;
}
