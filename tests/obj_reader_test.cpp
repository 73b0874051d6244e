#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "assets/obj_model.h"

namespace {

using Ints = std::vector<int32_t>;

std::string writeFile(const std::string& name, const std::string& text) {
    std::ofstream(testing::TempDir() + name) << text;
    return testing::TempDir() + name;
}

// Reads the text as a model file, with what the reader printed.
std::pair<std::unique_ptr<ObjModel>, std::string> readObj(const std::string& text) {
    testing::internal::CaptureStdout();
    std::unique_ptr<ObjModel> model(glmReadOBJ(writeFile("obj_reader_test.obj", text).c_str()));
    return {std::move(model), testing::internal::GetCapturedStdout()};
}

// Vertex, texcoord and normal index of every corner, triangle by triangle.
std::vector<Ints> corners(const ObjModel& model) {
    std::vector<Ints> all;
    for (const ObjTriangle& t : model.triangles)
        for (int c = 0; c < 3; ++c) all.push_back({t.vertexIndices[c], t.texcoordIndices[c], t.normalIndices[c]});
    return all;
}

const std::string entries = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.5\n"
                            "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\nvn 0 -1 0\n";

}  // namespace

// A face goes on across a line that starts with a corner; values round once, as strtof rounds them.
TEST(ObjReader, ReadsFacesInEveryFormAsFansAndValuesAsTheCLibraryDoes) {
    auto model = readObj("# comment\ns 1\no thing\nl 1 2\n" + entries + "f 1 2 3 4 5\nf 1/1 2/2 3/3 4/4 5/5\n"
                         "f 1/1/1 2/2/2 3/3/3\n4/4/4 5/5/5\nf -5//-5 -4//-4 -3//-3 -2//-2 -1//-1\n"
                         "f -5/-5/-5 2/-4/2 -3/3/-3 4/-2/4 -1/5/-1\nv 1.0000000596046448 +2.5 1e50\nv -0x1p-2 nan 3\nv")
                     .first;
    std::vector<Ints> fans;
    for (auto [texcoord, normal] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}, {1, 1}})
        for (int i : {1, 2, 3, 1, 3, 4, 1, 4, 5}) fans.push_back({i, i * texcoord, i * normal});
    EXPECT_EQ(corners(*model), fans);
    EXPECT_TRUE(model->texcoords[2 * 5 + 1] == 0.5f && model->normals[3 * 4 + 2] == -1.0f);
    const std::vector<float>& v = model->vertices;
    EXPECT_EQ((std::vector<float>{v[18], v[19], v[20], v[21], v[24]}),
              (std::vector<float>{std::strtof("1.0000000596046448", nullptr), 2.5f, INFINITY, -0.25f, 0}));
    EXPECT_TRUE(std::isnan(v[22]) && v.size() == 27);
}

TEST(ObjReader, IndicesNamingNoEntryGiveEntryZeroAndOneWarning) {
    // Relative indices count back from the entries before their face, not from the file's end.
    const std::string faces = "f 1/9 2/-6 0/1\nf 2/2 3/3 -7/-4\nf 1//1 2//7 3//3\nf 1 2\n";
    auto [model, out] = readObj("v 0 0 0\nf -1 -2 1\n" + entries + faces);
    EXPECT_EQ(corners(*model), (std::vector<Ints>{{1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0},
        {2, 2, 0}, {3, 3, 0}, {0, 2, 0}, {1, 0, 1}, {2, 0, 0}, {3, 0, 3}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(out, "glmReadOBJ() warning: 7 face indices out of range in \"" + testing::TempDir() +
                       "obj_reader_test.obj\", using 0.\n");
}

// Ns 0..1000 becomes 0..128; text after a value on its line is ignored; CR LF line ends.
TEST(ObjReader, GroupsAndMaterialsComeNewestFirstFromTheLibraryBesideTheModel) {
    writeFile("obj_reader_test.mtl", "Kd 0.1 0.2 0.3\nnewmtl red\nKd 1 0 0\nNs 1000\nKa 0.5 0 0 newmtl hidden\n"
                                     "newmtl blue\r\nKs 0.25 0.5 1\r\n");
    auto [model, out] = readObj("mtllib obj_reader_test.mtl\n" + entries + "f 1 2 3\ng a\nusemtl red\nf 1 3 4\ng b\n"
                                "f 1 2 4\nusemtl blue\ng a\nf 2 3 4\ng\nusemtl green\nf 3 4 5");
    std::vector<std::tuple<std::string, uint32_t, std::vector<uint32_t>>> groups;
    for (const ObjGroup& g : model->groups) groups.emplace_back(g.name, g.material, g.triangleIndices);
    EXPECT_EQ(groups, (decltype(groups){{"", 0, {4}}, {" b", 2, {2}}, {" a", 2, {1, 3}}, {"default", 0, {0}}}));
    const auto& m = model->materials;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].name + m[1].name + m[2].name, "defaultredblue");
    EXPECT_EQ((std::vector<float>{m[0].diffuse[2], m[1].diffuse[0], m[1].shininess, m[1].ambient[0], m[2].specular[1],
                                  m[2].shininess}), (std::vector<float>{0.3f, 1, 128, 0.5f, 0.5f, 65}));
    EXPECT_EQ(out, "glmFindMaterial():  can't find material \"green\".\n");
}

// Corners within ninety degrees share one normal: the cube's 36 corners get 8, two triangles folded back on each
// other 6. These, a triangle naming a vertex twice and a vertex no triangle uses leave every normal finite.
TEST(ObjReader, CornersWithinNinetyDegreesShareANormalThatStaysFinite) {
    const std::pair<std::string, uint32_t> models[] = {{"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\n"
        "v 0 1 1\nf 1 3 2\nf 1 4 3\nf 5 6 7\nf 5 7 8\nf 1 2 6\nf 1 6 5\nf 4 7 3\nf 4 8 7\nf 1 5 8\nf 1 8 4\nf 2 3 7\n"
        "f 2 7 6\n", 8}, {"v 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 5 5\nf 1 2 3\nf 1 3 2\nf 1 2 1\n", 6}};
    for (const auto& [text, count] : models) {
        auto model = readObj(text).first;
        glmBuildFacetNormals(model.get());
        testing::internal::CaptureStderr();
        glmVertexNormals(model.get());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), count == 8 ? "" : "glmVertexNormals(): vertex w/o a triangle\n");
        EXPECT_EQ(model->normalCount, count);
        for (float v : model->normals) EXPECT_TRUE(std::isfinite(v));
    }
}

TEST(ObjReaderDeath, UnreadableFilesAndUnknownVertexTokensEndTheProcess) {
    // The token message goes to standard output; the child sends it to stderr to be matched.
    const std::pair<std::string, const char*> fatal[] = {
        {"/nonexistent/missing.obj", "glmReadOBJ\\(\\) failed: can't open data file \"/nonexistent/missing.obj\""},
        {"/tmp", "can't open data file"}, {writeFile("obj_reader_test_vp.obj", "vp 1 2\n"), "Unknown token \"vp\""},
        {writeFile("obj_reader_test_lib.obj", "mtllib absent.mtl\n"), "can't open material file \".*/absent.mtl\""}};
    for (const auto& [path, message] : fatal)
        EXPECT_EXIT((dup2(2, 1), glmReadOBJ(path.c_str())), testing::ExitedWithCode(1), message);
}
