// One libFuzzer program for the asset readers, FUZZ_READER (bmp, tga_texture, tga_terrain or obj) picks one. Each
// input is written to a file in a folder of this process's, in memory where it can be. An OBJ input may be followed by
// "\n@mtl\n" and the text of "model.mtl"; a valid 1 x 1 texture "tex.tga" lies beside them for map_Kd lines.
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "assets/bmp_reader.h"
#include "assets/obj_model.h"
#include "assets/tga_reader.h"

namespace {

struct FuzzExit { int status; };  // what glmExit throws here instead of ending the process

const char libraryMarker[] = "\n@mtl\n";
const uint8_t texture[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3};

void check(bool condition) { if (!condition) std::abort(); }

std::string fuzzPath(const char* name) {
    static char folder[] = "/dev/shm/gorvanka_fuzz.XXXXXX";
    static const char* made = mkdtemp(folder) ? folder : mkdtemp(std::strcpy(folder, "/tmp/gorvanka_fuzz.XXXXXX"));
    static const int removal = std::atexit([] { std::filesystem::remove_all(folder); });
    check(made && removal == 0);
    return std::string(folder) + "/" + name;
}

std::string writeFuzzFile(const char* name, const uint8_t* data, size_t size) {
    const std::string path = fuzzPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    check(file && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0);
    return path;
}

// What the upload would read must be exactly what the image holds; a refused image holds nothing.
void fuzzPictures(const std::string& reader, const std::string& path) {
    if (reader == "bmp") {
        auto image = loadBmp(path.c_str());
        check(image->width >= 0 && image->height >= 0 &&
              image->pixels.size() == size_t(image->width) * size_t(image->height) * 3);
    } else if (reader == "tga_texture") {
        TextureImage image{};
        const size_t pixels = loadTgaTexture(path.c_str(), &image) ? size_t(image.width) * image.height : 0;
        check(image.data.size() == pixels * (image.format == GL_RGBA ? 4 : 3));
    } else {
        auto image = loadTerrainTga(path.c_str());
        const size_t declared = size_t(image->width) * image->height * (image->bitsPerPixel / 8);
        check(image->data.size() == (image->status == 0 ? declared : 0));
        tgaToGreyscale(image.get());
    }
}

void fuzzModel(const uint8_t* data, size_t size) {
    static const std::string texturePath = writeFuzzFile("tex.tga", texture, sizeof texture);
    const uint8_t* end = data + size;
    const uint8_t* marker = std::search(data, end, libraryMarker, libraryMarker + std::strlen(libraryMarker));
    const uint8_t* library = marker == end ? end : marker + std::strlen(libraryMarker);
    writeFuzzFile("model.mtl", library, size_t(end - library));
    std::unique_ptr<ObjModel> model;
    try {
        model.reset(glmReadOBJ(writeFuzzFile("model.obj", data, size_t(marker - data)).c_str()));
    } catch (const FuzzExit& exit) {
        return check(exit.status == 1);
    }
    glmCenterAndScale(model.get()), glmBuildFacetNormals(model.get()), glmVertexNormals(model.get());
}

}  // namespace

void glmExit(int status) { throw FuzzExit{status}; }

// Reads the texture as the game does, with no GL context to upload it to.
unsigned int glmLoadTexture(const char* path, float* width, float* height) {
    TextureImage image{};
    const bool loaded = loadTgaTexture(path + std::strspn(path, " "), &image);
    *width = loaded ? float(image.width) : 0.0f, *height = loaded ? float(image.height) : 0.0f;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string reader = std::getenv("FUZZ_READER") ? std::getenv("FUZZ_READER") : "";
    check(reader == "bmp" || reader == "tga_texture" || reader == "tga_terrain" || reader == "obj");
    reader == "obj" ? fuzzModel(data, size) : fuzzPictures(reader, writeFuzzFile("input", data, size));
    return 0;
}
