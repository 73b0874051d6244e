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

}  // namespace

// Centre and scale use the sum of the absolute bounds, and leave a model of one point alone.
TEST(ModelNormals, CentreAndScaleUseTheSumOfAbsoluteBounds) {
    ObjModel model = makeModel({2, 0, 0, 4, 1, 1}, {});
    EXPECT_EQ(glmCenterAndScale(&model), 1 / 3.0f);
    EXPECT_TRUE(model.vertices[3] == -1 / 3.0f && model.vertices[4] == -1 / 6.0f);
    model = makeModel({5, 5, 5, 5, 5, 5}, {});
    EXPECT_TRUE(glmCenterAndScale(&model) == 1 && model.vertices[3] == 5);
}

// Corners share one normal within ninety degrees: the unit cube's 36 corners get 8. Two triangles folded back on
// each other, a zero-area triangle naming vertex 1 twice and a vertex no triangle uses leave every normal finite.
TEST(ModelNormals, CornersShareOneNormalWithinNinetyDegreesAndStayFinite) {
    const float s = 1 / std::sqrt(3.0f), h = std::sqrt(0.5f);
    const std::tuple<std::vector<float>, std::vector<int32_t>, uint32_t, std::vector<float>> cases[] = {
        {{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1},
         {1, 3, 2, 1, 4, 3, 5, 6, 7, 5, 7, 8, 1, 2, 6, 1, 6, 5, 4, 7, 3, 4, 8, 7, 1, 5, 8, 1, 8, 4, 2, 3, 7, 2, 7, 6},
         8, {-s, -s, -s}},
        {{0, 0, 0, 1, 0, 0, 0, 1, 0}, {1, 2, 3, 1, 3, 2}, 6, {0, 0, 1}},
        {{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}, {1, 2, 3, 1, 3, 4, 1, 2, 1}, 4, {h, 0, h}},
        {{0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {1, 2, 3}, 3, {0, 0, 1}}};
    for (const auto& [points, corners, count, first] : cases) {
        ObjModel model = makeModel(points, corners);
        glmBuildFacetNormals(&model);
        testing::internal::CaptureStderr();
        glmVertexNormals(&model);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), count == 3 ? "glmVertexNormals(): vertex w/o a triangle\n" : "");
        ASSERT_TRUE(model.normalCount == count && model.normals.size() == (size_t(count) + 1) * 3) << count;
        for (float v : model.normals) EXPECT_TRUE(std::isfinite(v));
        const float* normal = &model.normals[model.triangles[0].normalIndices[0] * 3];
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(normal[i], first[i], 1e-6);
    }
}
