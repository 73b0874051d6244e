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
    for (size_t i = 0; i + 2 < corners.size(); i += 3)
        model.triangles.push_back(ObjTriangle{{corners[i], corners[i + 1], corners[i + 2]}, {7, 7, 7}, {0, 0, 0}, -1});
    model.triangleCount = uint32_t(model.triangles.size());
    return model;
}

// Builds facet then vertex normals; returns what the build printed.
std::string buildNormals(ObjModel* model) {
    glmBuildFacetNormals(model);
    testing::internal::CaptureStderr();
    glmVertexNormals(model);
    return testing::internal::GetCapturedStderr();
}

const float* normalAt(const ObjModel& model, int triangle, int corner) {
    return &model.normals[size_t(model.triangles[triangle].normalIndices[corner]) * 3];
}

}  // namespace

TEST(ModelNormals, CentreAndScaleUseTheSumOfAbsoluteBounds) {
    ObjModel straddling = makeModel({-3, 0, -1, 1, 1, 1}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&straddling), 0.5f);
    EXPECT_FLOAT_EQ(straddling.vertices[3], -1.0f);
    EXPECT_FLOAT_EQ(straddling.vertices[4], -0.25f);
    ObjModel aside = makeModel({2, 0, 0, 4, 1, 1}, {});
    EXPECT_FLOAT_EQ(glmCenterAndScale(&aside), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(aside.vertices[6], 1.0f / 3.0f);
    // Nothing to measure: the models stay as they are and no factor is infinite.
    ObjModel empty = makeModel({}, {});
    EXPECT_EQ(glmCenterAndScale(&empty), 1.0f);
    for (float at : {0.0f, 5.0f}) {
        ObjModel point = makeModel({at, at, at, at, at, at}, {1, 2, 1});
        EXPECT_EQ(glmCenterAndScale(&point), 1.0f);
        EXPECT_TRUE(point.vertices[3] == at && point.vertices[6] == at);
    }
}

TEST(ModelNormals, FacetNormalsAreUnitOrZeroForDegenerateTriangles) {
    ObjModel model = makeModel({0, 0, 0, 2, 0, 0, 0, 2, 0, 4, 0, 0}, {1, 2, 3, 1, 3, 2, 1, 2, 4, 1, 1, 3});
    glmBuildFacetNormals(&model);
    glmBuildFacetNormals(&model);  // a second build replaces the first
    ASSERT_EQ(model.facetNormalCount, 4u);
    EXPECT_EQ(model.triangles[3].facetNormalIndex, 4);
    EXPECT_EQ(std::vector<float>(model.facetNormals.begin() + 3, model.facetNormals.end()),
              (std::vector<float>{0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0}));
}

TEST(ModelNormals, VertexNormalsSmoothWithinNinetyDegreesOnly) {
    // The unit cube as 12 counter-clockwise triangles seen from outside: one diagonal normal per corner.
    ObjModel box = makeModel({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1},
                             {1, 3, 2, 1, 4, 3, 5, 6, 7, 5, 7, 8, 1, 2, 6, 1, 6, 5,
                              4, 7, 3, 4, 8, 7, 1, 5, 8, 1, 8, 4, 2, 3, 7, 2, 7, 6});
    buildNormals(&box);
    EXPECT_EQ(box.normalCount, 8u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(normalAt(box, 0, 0)[i], -1.0f / std::sqrt(3.0f), 1e-6);
    // Two triangles folded back on each other keep their own normals at the shared edge.
    ObjModel folded = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0}, {1, 2, 3, 1, 3, 2});
    buildNormals(&folded);
    EXPECT_EQ(folded.normalCount, 6u);
    EXPECT_FLOAT_EQ(normalAt(folded, 0, 0)[2], 1.0f);
    EXPECT_FLOAT_EQ(normalAt(folded, 1, 0)[2], -1.0f);
}

TEST(ModelNormals, DegenerateFacesLeaveNoNanAndNoStaleCorner) {
    // Triangle 2 has no area and names vertex 1 twice; it is also the newest at vertex 1.
    ObjModel model = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}, {1, 2, 3, 1, 3, 4, 1, 2, 1});
    buildNormals(&model);
    for (float v : model.normals) EXPECT_TRUE(std::isfinite(v));
    ASSERT_EQ(model.normals.size(), (size_t(model.normalCount) + 1) * 3);
    for (const ObjTriangle& t : model.triangles)
        for (int32_t index : t.normalIndices) EXPECT_TRUE(index >= 1 && uint32_t(index) <= model.normalCount);
    // Vertex 1 joins the two real faces at right angles; the flat one adds nothing.
    EXPECT_NEAR(normalAt(model, 0, 0)[0], std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(normalAt(model, 0, 0)[2], std::sqrt(0.5f), 1e-6);

    ObjModel lonely = makeModel({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {1, 2, 3});
    EXPECT_EQ(buildNormals(&lonely), "glmVertexNormals(): vertex w/o a triangle\n");
    EXPECT_EQ(lonely.normalCount, 3u);
    ObjModel nothing = makeModel({}, {});
    buildNormals(&nothing);
    EXPECT_TRUE(nothing.normalCount == 0 && nothing.normals.size() == 3);
}
