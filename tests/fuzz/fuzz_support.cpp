#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "assets/obj_model.h"
#include "assets/tga_reader.h"

void glmExit(int status) { throw FuzzExit{status}; }

// Reads the texture as the game does, with no GL context to upload it to.
unsigned int glmLoadTexture(const char* path, float* width, float* height) {
    TextureImage image{};
    bool loaded = loadTgaTexture(path + std::strspn(path, " "), &image);
    *width = loaded ? float(image.width) : 0.0f;
    *height = loaded ? float(image.height) : 0.0f;
    return 0;
}

std::string fuzzPath(const char* name) {
    static char folder[] = "/dev/shm/gorvanka_fuzz.XXXXXX";
    static const char* made = mkdtemp(folder) ? folder : mkdtemp(std::strcpy(folder, "/tmp/gorvanka_fuzz.XXXXXX"));
    static const int removal = std::atexit([] { std::filesystem::remove_all(folder); });
    if (!made || removal != 0) std::abort();
    return std::string(folder) + "/" + name;
}

std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size) {
    std::string path = fuzzPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return path;
}
