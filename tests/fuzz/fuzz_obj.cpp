#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "assets/obj_model.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/fuzz_seams.h"

// An input is an OBJ file, optionally followed by this line and the text of "model.mtl".
// A valid 1 x 1 texture "tex.tga" lies beside them for map_Kd lines to find.
namespace {

const char* const libraryMarker = "\n@mtl\n";

void check(bool condition) {
    if (!condition) std::abort();
}

void writeInputs(const uint8_t* data, size_t size) {
    static const uint8_t texture[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3};
    static bool textureWritten = false;
    if (!textureWritten) writeFuzzFile("tex.tga", texture, sizeof texture);
    textureWritten = true;
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find(libraryMarker);
    size_t objSize = split == std::string::npos ? size : split;
    size_t mtlStart = split == std::string::npos ? size : split + std::strlen(libraryMarker);
    writeFuzzFile("model.obj", data, objSize);
    writeFuzzFile("model.mtl", data + mtlStart, size - mtlStart);
}

bool inRange(int32_t index, uint32_t count, bool zeroAllowed) {
    return (zeroAllowed && index == 0) || (index >= 1 && uint32_t(index) <= count);
}

// Everything the drawing code indexes must lie inside its array.
void checkModel(const ObjModel& model) {
    check(model.vertices.size() == (size_t(model.vertexCount) + 1) * 3);
    check(model.normals.size() == (size_t(model.normalCount) + 1) * 3);
    check(model.facetNormals.size() == (size_t(model.facetNormalCount) + 1) * 3);
    check(model.triangles.size() == model.triangleCount);
    check(model.materials.size() == model.materialCount);
    for (const ObjTriangle& t : model.triangles) {
        for (int c = 0; c < 3; ++c) {
            check(inRange(t.vertexIndices[c], model.vertexCount, true));
            check(inRange(t.normalIndices[c], model.normalCount, true));
            check(inRange(t.texcoordIndices[c], model.texcoordCount, true));
        }
        check(inRange(t.facetNormalIndex, model.facetNormalCount, false));
    }
    for (float n : model.normals) check(std::isfinite(n));
    uint32_t grouped = 0;
    for (const ObjGroup* group = model.groups; group; group = group->next) {
        check(group->triangleCount == group->triangleIndices.size());
        check(group->material == 0 || group->material < model.materialCount);
        for (uint32_t t : group->triangleIndices) check(t < model.triangleCount);
        grouped += group->triangleCount;
    }
    check(grouped == model.triangleCount);
    for (const ObjMaterial& material : model.materials)
        check(material.texture == -1 || uint32_t(material.texture) < model.textureCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInputs(data, size);
    std::unique_ptr<ObjModel> model;
    try {
        model.reset(glmReadOBJ(fuzzPath("model.obj").c_str()));
    } catch (const FuzzExit& exit) {
        check(exit.status == 1);
        return 0;
    }
    glmCenterAndScale(model.get());
    glmBuildFacetNormals(model.get());
    glmVertexNormals(model.get());
    checkModel(*model);
    return 0;
}
