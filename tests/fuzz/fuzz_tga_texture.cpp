#include <GL/gl.h>

#include <cstdlib>

#include "assets/tga_reader.h"
#include "tests/fuzz/fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextureImage image{};
    bool loaded = loadTgaTexture(writeFuzzFile("input.tga", data, size).c_str(), &image);
    if (!loaded && !image.data.empty()) std::abort();
    if (loaded) {
        size_t bytes = image.format == GL_RGBA ? 4 : 3;
        if (image.data.size() != size_t(image.width) * image.height * bytes) std::abort();
    }
    return 0;
}
