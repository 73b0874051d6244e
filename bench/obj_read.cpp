// Reads a generated model of about one million triangles with our reader (followed by
// the facet and vertex normals, as the game prepares every model) and with tinyobjloader,
// and prints the times, reading and normals apart, and their ratios.
#include <tiny_obj_loader.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "assets/obj_model.h"

namespace {

const int gridSide = 708;  // (side - 1)^2 quads, two triangles each: about 1.0 million
const int groupCount = 16;
const int materialCount = 4;
const int rounds = 3;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void writeLibrary(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (int m = 0; m < materialCount; ++m) {
        std::fprintf(file, "newmtl paint%d\nKa 0.2 0.2 0.2\nKd %.3f 0.5 0.25\nKs 0.1 0.1 0.1\nNs 96.078431\n"
                           "illum 2\n\n", m, 0.2 * m);
    }
    std::fclose(file);
}

// A wavy grid with a texture coordinate and a normal per vertex, split into bands of groups.
void writeModel(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fprintf(file, "# generated benchmark grid\nmtllib grid.mtl\n");
    for (int y = 0; y < gridSide; ++y) {
        for (int x = 0; x < gridSide; ++x) {
            std::fprintf(file, "v %.6f %.6f %.6f\n", x * 0.01, 0.05 * ((x * 7 + y * 13) % 17), y * 0.01);
        }
    }
    for (int y = 0; y < gridSide; ++y) {
        for (int x = 0; x < gridSide; ++x) std::fprintf(file, "vt %.6f %.6f\n", x / 707.0, y / 707.0);
    }
    for (int i = 0; i < gridSide * gridSide; ++i) std::fprintf(file, "vn 0.000000 1.000000 0.000000\n");
    int rowsPerGroup = (gridSide - 1 + groupCount - 1) / groupCount;
    for (int y = 0; y < gridSide - 1; ++y) {
        if (y % rowsPerGroup == 0) {
            int group = y / rowsPerGroup;
            std::fprintf(file, "g band%d\nusemtl paint%d\n", group, group % materialCount);
        }
        for (int x = 0; x < gridSide - 1; ++x) {
            int a = y * gridSide + x + 1, b = a + 1, c = a + gridSide + 1, d = a + gridSide;
            std::fprintf(file, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c, d, d, d);
        }
    }
    std::fclose(file);
}

struct OurTimes {
    double read;
    double normals;
};

OurTimes timeOurs(const std::string& path, uint32_t* triangles) {
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<ObjModel> model(glmReadOBJ(path.c_str()));
    double read = secondsSince(start);
    glmBuildFacetNormals(model.get());
    glmVertexNormals(model.get());
    *triangles = model->triangleCount;
    return {read, secondsSince(start) - read};
}

double timeTinyObj(const std::string& path, const std::string& dir, size_t* triangles) {
    auto start = std::chrono::steady_clock::now();
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), dir.c_str(), true)) {
        std::fprintf(stderr, "tinyobjloader failed: %s\n", err.c_str());
        std::exit(1);
    }
    double seconds = secondsSince(start);
    *triangles = 0;
    for (const tinyobj::shape_t& shape : shapes) *triangles += shape.mesh.num_face_vertices.size();
    return seconds;
}

}  // namespace

int main() {
    char pattern[] = "/tmp/obj_read_bench.XXXXXX";
    std::string dir = std::string(mkdtemp(pattern)) + "/";
    std::string path = dir + "grid.obj";
    writeLibrary(dir + "grid.mtl");
    writeModel(path);
    std::printf("model: %s, %.1f MB\n", path.c_str(), std::filesystem::file_size(path) / 1e6);
    OurTimes ours{1e9, 1e9};
    double theirs = 1e9;
    uint32_t ourTriangles = 0;
    size_t theirTriangles = 0;
    for (int round = 0; round < rounds; ++round) {
        OurTimes times = timeOurs(path, &ourTriangles);
        ours.read = std::min(ours.read, times.read);
        ours.normals = std::min(ours.normals, times.normals);
        theirs = std::min(theirs, timeTinyObj(path, dir, &theirTriangles));
    }
    std::printf("triangles: ours %u, tinyobjloader %zu\n", ourTriangles, theirTriangles);
    std::printf("glmReadOBJ: %.3f s, then facet and vertex normals: %.3f s (each the best of %d)\n", ours.read,
                ours.normals, rounds);
    std::printf("tinyobjloader LoadObj: %.3f s (best of %d)\n", theirs, rounds);
    std::printf("ratio ours / tinyobjloader: reading %.2f, reading and normals %.2f\n", ours.read / theirs,
                (ours.read + ours.normals) / theirs);
    std::filesystem::remove_all(dir);
    return 0;
}
