#include <cmath>

#include "assets/obj_model.h"
#include "platform/messages.h"

namespace {

const float kBoxSize = 2.0f;
// The smoothing angle, in radians as a float: its cosine is a tiny negative number,
// so facets at exactly 90 degrees are still smoothed together.
const float kSmoothingAngle = 90.0f * 3.14159265f / 180.0f;

struct Normal {
    float x, y, z;
};

const float* entry(const std::vector<float>& values, int32_t index, uint32_t count) {
    static const float zero[3] = {0.0f, 0.0f, 0.0f};
    if (index < 0 || uint32_t(index) > count || size_t(index) * 3 + 3 > values.size()) return zero;
    return values.data() + size_t(index) * 3;
}

// A unit normal, or zero for a vector of no length, so a degenerate facet spreads nothing.
Normal unitOrZero(float x, float y, float z) {
    float length = float(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
    if (!(length > 0.0f) || !std::isfinite(length)) return {0.0f, 0.0f, 0.0f};
    return {x / length, y / length, z / length};
}

Normal facetNormalOf(const ObjModel& model, const ObjTriangle& triangle) {
    const float* a = entry(model.vertices, triangle.vertexIndices[0], model.vertexCount);
    const float* b = entry(model.vertices, triangle.vertexIndices[1], model.vertexCount);
    const float* c = entry(model.vertices, triangle.vertexIndices[2], model.vertexCount);
    float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return unitOrZero(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]);
}

}  // namespace

float glmCenterAndScale(ObjModel* model) {
    uint32_t count = model->vertexCount;
    if (count == 0 || model->vertices.size() < (size_t(count) + 1) * 3) return 1.0f;
    float* v = model->vertices.data();
    float lo[3] = {v[3], v[4], v[5]};
    float hi[3] = {v[3], v[4], v[5]};
    for (uint32_t i = 1; i <= count; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = std::fmin(lo[axis], v[3 * i + axis]);
            hi[axis] = std::fmax(hi[axis], v[3 * i + axis]);
        }
    }
    bool onePoint = lo[0] == hi[0] && lo[1] == hi[1] && lo[2] == hi[2];
    // Each axis measures |max| + |min|, so a model away from the origin ends up smaller than the box.
    float largest = 0.0f;
    for (int axis = 0; axis < 3; ++axis) largest = std::fmax(largest, std::fabs(hi[axis]) + std::fabs(lo[axis]));
    if (onePoint || !(largest > 0.0f) || !std::isfinite(largest)) return 1.0f;
    float factor = kBoxSize / largest;
    float centre[3];
    for (int axis = 0; axis < 3; ++axis) centre[axis] = (hi[axis] + lo[axis]) * 0.5f;
    for (uint32_t i = 1; i <= count; ++i) {
        for (int axis = 0; axis < 3; ++axis) v[3 * i + axis] = (v[3 * i + axis] - centre[axis]) * factor;
    }
    return factor;
}

void glmBuildFacetNormals(ObjModel* model) {
    model->facetNormalCount = model->triangleCount;
    model->facetNormals.assign((size_t(model->triangleCount) + 1) * 3, 0.0f);
    for (uint32_t i = 0; i < model->triangleCount && i < model->triangles.size(); ++i) {
        ObjTriangle& triangle = model->triangles[i];
        triangle.facetNormalIndex = int32_t(i + 1);
        Normal n = facetNormalOf(*model, triangle);
        float* out = model->facetNormals.data() + size_t(i + 1) * 3;
        out[0] = n.x;
        out[1] = n.y;
        out[2] = n.z;
    }
}

namespace {

// One use of a vertex: a triangle corner, in the vertex's list of uses.
struct CornerUse {
    uint32_t triangle;
    uint8_t corner;
    bool averaged;
};

// Every vertex's corners, laid out one vertex after another in triangle order;
// the vertex's list runs from its last corner back to its first.
struct VertexUses {
    std::vector<uint32_t> start;  // vertexCount + 2 offsets into uses
    std::vector<CornerUse> uses;
};

VertexUses collectUses(const ObjModel& model) {
    VertexUses lists;
    lists.start.assign(size_t(model.vertexCount) + 2, 0);
    for (const ObjTriangle& triangle : model.triangles) {
        for (int32_t v : triangle.vertexIndices) {
            if (v >= 1 && uint32_t(v) <= model.vertexCount) ++lists.start[size_t(v) + 1];
        }
    }
    for (size_t v = 1; v < lists.start.size(); ++v) lists.start[v] += lists.start[v - 1];
    lists.uses.resize(lists.start.back());
    std::vector<uint32_t> next(lists.start.begin(), lists.start.end() - 1);
    for (uint32_t t = 0; t < model.triangles.size(); ++t) {
        for (uint8_t c = 0; c < 3; ++c) {
            int32_t v = model.triangles[t].vertexIndices[c];
            if (v >= 1 && uint32_t(v) <= model.vertexCount) lists.uses[next[v]++] = CornerUse{t, c, false};
        }
    }
    return lists;
}

const float* facetOf(const ObjModel& model, uint32_t triangle) {
    return entry(model.facetNormals, model.triangles[triangle].facetNormalIndex, model.facetNormalCount);
}

float dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The facet the vertex's other facets are compared with: the newest one that has a
// direction, so a zero-area triangle cannot pull every facet into one average.
const float* referenceFacet(const ObjModel& model, const CornerUse* uses, size_t count) {
    for (size_t k = count; k-- > 0;) {
        const float* facet = facetOf(model, uses[k].triangle);
        if (facet[0] != 0.0f || facet[1] != 0.0f || facet[2] != 0.0f) return facet;
    }
    return facetOf(model, uses[count - 1].triangle);
}

// Appends a normal; its index is the number of normals before it.
uint32_t addNormal(std::vector<float>* normals, Normal n) {
    uint32_t index = uint32_t(normals->size() / 3);
    normals->push_back(n.x);
    normals->push_back(n.y);
    normals->push_back(n.z);
    return index;
}

// Gives every corner of one vertex its normal: the vertex's average for the facets that
// face the reference's way, the facet's own normal for those turned more than 90 degrees.
void smoothVertex(ObjModel* model, CornerUse* uses, size_t count, float threshold, std::vector<float>* normals) {
    const float* reference = referenceFacet(*model, uses, count);
    float sum[3] = {0.0f, 0.0f, 0.0f};
    bool anyAveraged = false;
    for (size_t k = count; k-- > 0;) {
        CornerUse* use = &uses[k];
        const float* facet = facetOf(*model, use->triangle);
        use->averaged = dot(facet, reference) > threshold;
        if (!use->averaged) continue;
        anyAveraged = true;
        for (int i = 0; i < 3; ++i) sum[i] += facet[i];
    }
    uint32_t averagedIndex = 0;
    if (anyAveraged) averagedIndex = addNormal(normals, unitOrZero(sum[0], sum[1], sum[2]));
    for (size_t k = count; k-- > 0;) {
        CornerUse* use = &uses[k];
        uint32_t index = averagedIndex;
        if (!use->averaged) {
            const float* facet = facetOf(*model, use->triangle);
            index = addNormal(normals, Normal{facet[0], facet[1], facet[2]});
        }
        model->triangles[use->triangle].normalIndices[use->corner] = int32_t(index);
    }
}

}  // namespace

void glmVertexNormals(ObjModel* model) {
    const float threshold = float(std::cos(double(kSmoothingAngle)));
    for (ObjTriangle& triangle : model->triangles) {
        for (int32_t& index : triangle.normalIndices) index = 0;
    }
    VertexUses lists = collectUses(*model);
    // Room for the most a model can need, one normal per corner, then cut to size with one copy.
    std::vector<float> normals;
    normals.reserve((lists.uses.size() + 1) * 3);
    normals.assign(3, 0.0f);
    for (uint32_t v = 1; v <= model->vertexCount; ++v) {
        uint32_t begin = lists.start[v], end = lists.start[size_t(v) + 1];
        if (begin == end) {
            complain("glmVertexNormals(): vertex w/o a triangle\n");
            continue;
        }
        smoothVertex(model, &lists.uses[begin], end - begin, threshold, &normals);
    }
    model->normalCount = uint32_t(normals.size() / 3 - 1);
    model->normals = std::vector<float>(normals.begin(), normals.end());
}

ObjModel* loadModel(const char* path) {
    ObjModel* model = glmReadOBJ(path);
    glmCenterAndScale(model);
    glmBuildFacetNormals(model);
    glmVertexNormals(model);
    return model;
}
