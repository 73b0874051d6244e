#include "tests/fuzz/fuzz_seams.h"

#include "assets/obj_model.h"
#include "assets/tga_reader.h"

// A model or material file the game would stop on: the fuzzer goes on with the next input.
void glmExit(int status) { throw FuzzExit{status}; }

// Reads the texture as the game does, without a GL context to upload it to.
unsigned int glmLoadTexture(const char* path, float* width, float* height) {
    while (*path == ' ') ++path;
    TextureImage image{};
    bool loaded = loadTgaTexture(path, &image);
    *width = loaded ? float(image.width) : 0.0f;
    *height = loaded ? float(image.height) : 0.0f;
    return 0;
}
