#include <gtest/gtest.h>

#include <cmath>

#include "assets/obj_model.h"

namespace {

// A model made in memory: vertices as x, y, z triples and triangles as 1-based vertex triples.
ObjModel makeModel(const std::vector<float>& points, const std::vector<int32_t>& corners) {
    ObjModel model{};
    model.vertexCount = uint32_t(points.size() / 3);
    model.vertices.assign(3, 0.0f);
    model.vertices.insert(model.vertices.end(), points.begin(), points.end());
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        model.triangles.push_back(ObjTriangle{{corners[i], corners[i + 1], corners[i + 2]}, {7, 7, 7}, {0, 0, 0}, -1});
    }
    model.triangleCount = uint32_t(model.triangles.size());
    return model;
}

const float* normalAt(const ObjModel& model, const ObjTriangle& t, int corner) {
    return &model.normals[size_t(t.normalIndices[corner]) * 3];
}

void expectFinite(const std::vector<float>& values) {
    for (float v : values) EXPECT_TRUE(std::isfinite(v));
}

// The unit cube as 12 counter-clockwise triangles seen from outside.
ObjModel cube() {
    return makeModel({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1},
                     {1, 3, 2, 1, 4, 3, 5, 6, 7, 5, 7, 8, 1, 2, 6, 1, 6, 5,
                      4, 7, 3, 4, 8, 7, 1, 5, 8, 1, 8, 4, 2, 3, 7, 2, 7, 6});
}

}  // namespace

TEST(ModelNormals, CentreAndScaleUseTheSumOfAbsoluteBounds) {
    ObjModel straddling = makeModel({-3, 0, -1, 1, 1, 1}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&straddling), 0.5f);
    EXPECT_FLOAT_EQ(straddling.vertices[3], -1.0f);
    EXPECT_FLOAT_EQ(straddling.vertices[4], -0.25f);
    EXPECT_FLOAT_EQ(straddling.vertices[6], 1.0f);

    ObjModel aside = makeModel({2, 0, 0, 4, 1, 1}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&aside), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(aside.vertices[3], -1.0f / 3.0f);
    EXPECT_FLOAT_EQ(aside.vertices[6], 1.0f / 3.0f);

    // Nothing to measure: the models stay as they are and no factor is infinite.
    ObjModel empty = makeModel({}, {});
    EXPECT_EQ(glmCenterAndScale(&empty), 1.0f);
    for (float at : {0.0f, 5.0f}) {
        ObjModel point = makeModel({at, at, at, at, at, at}, {1, 2, 1});
        EXPECT_EQ(glmCenterAndScale(&point), 1.0f);
        EXPECT_EQ(point.vertices[3], at);
        EXPECT_EQ(point.vertices[6], at);
    }
}

TEST(ModelNormals, FacetNormalsAreUnitOrZeroForDegenerateTriangles) {
    ObjModel model = makeModel({0, 0, 0, 2, 0, 0, 0, 2, 0, 4, 0, 0}, {1, 2, 3, 1, 3, 2, 1, 2, 4, 1, 1, 3});
    glmBuildFacetNormals(&model);
    glmBuildFacetNormals(&model);  // a second build replaces the first
    ASSERT_EQ(model.facetNormalCount, 4u);
    ASSERT_EQ(model.facetNormals.size(), 15u);
    EXPECT_EQ(model.triangles[3].facetNormalIndex, 4);
    EXPECT_FLOAT_EQ(model.facetNormals[3 + 2], 1.0f);
    EXPECT_FLOAT_EQ(model.facetNormals[6 + 2], -1.0f);
    for (int i = 9; i < 15; ++i) EXPECT_EQ(model.facetNormals[i], 0.0f);
}

TEST(ModelNormals, VertexNormalsSmoothWithinNinetyDegreesOnly) {
    ObjModel box = cube();
    glmBuildFacetNormals(&box);
    glmVertexNormals(&box);
    EXPECT_EQ(box.normalCount, 8u);  // one diagonal normal per corner
    const float* corner = normalAt(box, box.triangles[0], 0);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(corner[i], -1.0f / std::sqrt(3.0f), 1e-6);
    for (const ObjTriangle& t : box.triangles) EXPECT_GE(t.normalIndices[0], 1);

    // Two triangles folded back on each other keep their own normals at the shared edge.
    ObjModel folded = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0}, {1, 2, 3, 1, 3, 2});
    glmBuildFacetNormals(&folded);
    glmVertexNormals(&folded);
    EXPECT_EQ(folded.normalCount, 6u);
    EXPECT_FLOAT_EQ(normalAt(folded, folded.triangles[0], 0)[2], 1.0f);
    EXPECT_FLOAT_EQ(normalAt(folded, folded.triangles[1], 0)[2], -1.0f);
}

TEST(ModelNormals, DegenerateFacesLeaveNoNanAndNoStaleCorner) {
    // Triangle 2 has no area and names vertex 1 twice; it is also the newest at vertex 1.
    ObjModel model = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}, {1, 2, 3, 1, 3, 4, 1, 2, 1});
    glmBuildFacetNormals(&model);
    testing::internal::CaptureStderr();
    glmVertexNormals(&model);
    testing::internal::GetCapturedStderr();
    expectFinite(model.normals);
    ASSERT_EQ(model.normals.size(), (size_t(model.normalCount) + 1) * 3);
    for (const ObjTriangle& t : model.triangles) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_GE(t.normalIndices[c], 1);
            EXPECT_LE(uint32_t(t.normalIndices[c]), model.normalCount);
        }
    }
    // Vertex 1 joins the two real faces at right angles; the flat one adds nothing.
    const float* shared = normalAt(model, model.triangles[0], 0);
    EXPECT_NEAR(shared[0], std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(shared[2], std::sqrt(0.5f), 1e-6);

    ObjModel lonely = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {1, 2, 3});
    glmBuildFacetNormals(&lonely);
    testing::internal::CaptureStderr();
    glmVertexNormals(&lonely);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "glmVertexNormals(): vertex w/o a triangle\n");
    EXPECT_EQ(lonely.normalCount, 3u);

    ObjModel nothing = makeModel({}, {});
    glmBuildFacetNormals(&nothing);
    glmVertexNormals(&nothing);
    EXPECT_EQ(nothing.normalCount, 0u);
    EXPECT_EQ(nothing.normals.size(), 3u);
}
