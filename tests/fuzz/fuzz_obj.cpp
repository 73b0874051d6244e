#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "assets/obj_model.h"
#include "tests/fuzz/fuzz_support.h"

// An input is an OBJ file, optionally followed by this line and the text of "model.mtl".
// A valid 1 x 1 texture "tex.tga" lies beside them for map_Kd lines to find.
namespace {

const char libraryMarker[] = "\n@mtl\n";
const uint8_t texture[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3};

void check(bool condition) {
    if (!condition) std::abort();
}

// An index the drawing code may use: 0 or an entry of an array of count entries after entry 0.
bool usable(int32_t index, uint32_t count) { return index >= 0 && uint32_t(index) <= count; }

// Everything the drawing code indexes lies inside its array, and every triangle sits in one group.
void checkModel(const ObjModel& m) {
    check(m.vertices.size() == (size_t(m.vertexCount) + 1) * 3 && m.triangles.size() == m.triangleCount);
    check(m.normals.size() == (size_t(m.normalCount) + 1) * 3 && m.groups.size() == m.groupCount);
    for (const ObjTriangle& t : m.triangles) {
        for (int c = 0; c < 3; ++c) {
            check(usable(t.vertexIndices[c], m.vertexCount) && usable(t.normalIndices[c], m.normalCount) &&
                  usable(t.texcoordIndices[c], m.texcoordCount));
        }
        check(t.facetNormalIndex >= 1 && usable(t.facetNormalIndex, m.facetNormalCount));
    }
    for (float n : m.normals) check(std::isfinite(n));
    size_t grouped = 0;
    for (const ObjGroup& group : m.groups) {
        check(group.triangleCount == group.triangleIndices.size() && group.material < std::max(m.materialCount, 1u));
        for (uint32_t t : group.triangleIndices) check(t < m.triangleCount);
        grouped += group.triangleCount;
    }
    check(grouped == m.triangleCount);
    for (const ObjMaterial& material : m.materials)
        check(material.texture >= -1 && material.texture < int32_t(m.textureCount));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string texturePath = writeFuzzFile("tex.tga", texture, sizeof texture);
    const uint8_t* end = data + size;
    const uint8_t* marker = std::search(data, end, libraryMarker, libraryMarker + std::strlen(libraryMarker));
    const uint8_t* library = marker == end ? end : marker + std::strlen(libraryMarker);
    writeFuzzFile("model.obj", data, size_t(marker - data));
    writeFuzzFile("model.mtl", library, size_t(end - library));
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
