#pragma once
// Wavefront OBJ models with MTL materials: reading, scaling, normals, drawing.
// Vertex, normal, texcoord and facet-normal arrays are 1-based as in OBJ files:
// entry 0 exists and holds zeros. Triangle and material indices are 0-based.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

const unsigned int GLM_MODE_FLAT = 1;      // one normal per triangle
const unsigned int GLM_MODE_SMOOTH = 2;    // one normal per corner
const unsigned int GLM_MODE_TEXTURE = 4;   // texcoords and each group's texture
const unsigned int GLM_MODE_COLOR = 8;     // diffuse colour with colour material
const unsigned int GLM_MODE_MATERIAL = 16; // full material
const unsigned int GLM_MODE_COUNT = 32;    // every combination of the bits above

struct ObjTriangle {
    int32_t vertexIndices[3];
    int32_t normalIndices[3];
    int32_t texcoordIndices[3];
    int32_t facetNormalIndex;  // -1 until facet normals are built
};

struct ObjGroup {
    std::string name;
    uint32_t triangleCount;
    std::vector<uint32_t> triangleIndices;
    uint32_t material;
};

struct ObjMaterial {
    std::string name;
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float shininess;
    int32_t texture;  // index into the model's textures, -1 for none
};

struct ObjTexture {
    std::string name;
    unsigned int id;
    float width;
    float height;
};

struct ObjModel {
    std::string path;
    std::string materialLibrary;
    uint32_t vertexCount;
    std::vector<float> vertices;      // 3 per entry, entries 0..vertexCount
    uint32_t normalCount;
    std::vector<float> normals;       // 3 per entry, empty when none
    uint32_t texcoordCount;
    std::vector<float> texcoords;     // 2 per entry, empty when none
    uint32_t facetNormalCount;
    std::vector<float> facetNormals;  // 3 per entry
    uint32_t triangleCount;
    std::vector<ObjTriangle> triangles;
    uint32_t materialCount;
    std::vector<ObjMaterial> materials;  // entry 0 is "default"
    uint32_t groupCount;
    std::vector<ObjGroup> groups;  // newest group first, the order they are drawn in; "default" is last
    uint32_t textureCount;
    std::vector<ObjTexture> textures;
    // Display lists made by the model's first draw in each mode and kept for the run:
    // the first of one list per group, in group order; 0 until made.
    unsigned int groupLists[GLM_MODE_COUNT] = {};
};

// Reads an OBJ file and its material library from memory. Accepted: v, vn, vt, faces
// in the forms v, v/t, v/t/n and v//n (polygons become fans), g, mtllib, usemtl;
// other lines are skipped. A negative face index counts back from the entries given
// before its face (-1 is the latest). Indices that still name no entry, zero included,
// give entry 0 and one warning line per model. Never returns null:
// an OBJ or MTL file that cannot be read ends the process with status 1 and a
// message on stderr, and so does a v-token other than v, vn and vt (on stdout).
ObjModel* glmReadOBJ(const char* path);
ObjGroup* glmGroupByName(ObjModel* model, const char* name);
void glmReadMTL(ObjModel* model, const char* name);
uint32_t glmFindMaterial(ObjModel* model, const char* name);
int32_t glmAcquireTexture(ObjModel* model, const char* name);
unsigned int glmLoadTexture(const char* path, float* width, float* height);

// Ends the process for an unusable model or material file; the readers' only way out.
[[noreturn]] void glmExit(int status);

// Moves the model into a box of largest extent 2 around the origin; returns the factor.
float glmCenterAndScale(ObjModel* model);
void glmBuildFacetNormals(ObjModel* model);
void glmVertexNormals(ObjModel* model);

// A model as the game uses it: read, centred and scaled, with facet and vertex
// normals. Start-up reads every model so, and keeps it for the run.
ObjModel* loadModel(const char* path);
