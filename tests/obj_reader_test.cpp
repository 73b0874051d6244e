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

// Reads the text as a model file; printed receives what the reader printed.
std::unique_ptr<ObjModel> readObj(const std::string& text, std::string* printed = nullptr) {
    testing::internal::CaptureStdout();
    std::unique_ptr<ObjModel> model(glmReadOBJ(writeFile("obj_reader_test.obj", text).c_str()));
    std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
    return model;
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

TEST(ObjReader, FacesInEveryFormBecomeFansWithAbsoluteOrRelativeIndices) {
    // A face goes on across a line that starts with a corner; the last line may lack its line feed.
    const std::tuple<const char*, bool, bool> faces[] = {{"f 1 2 3 4 5\n", false, false},
        {"f 1/1 2/2 3/3 4/4 5/5\n", true, false}, {"f 1/1/1 2/2/2 3/3/3\n4/4/4 5/5/5", true, true},
        {"f -5//-5 -4//-4 -3//-3 -2//-2 -1//-1\n", false, true},
        {"f -5/-5/-5 2/-4/2 -3/3/-3 4/-2/4 -1/5/-1", true, true}};
    for (const auto& [face, texcoord, normal] : faces) {
        std::vector<Ints> fan;
        for (int i : {1, 2, 3, 1, 3, 4, 1, 4, 5}) fan.push_back({i, texcoord ? i : 0, normal ? i : 0});
        auto model = readObj("# comment\ns 1\no thing\nl 1 2\n" + entries + face);
        EXPECT_EQ(corners(*model), fan) << face;
        EXPECT_TRUE(model->texcoords[2 * 5 + 1] == 0.5f && model->normals[3 * 4 + 2] == -1.0f);
    }
}

TEST(ObjReader, ACubeWrittenWithRelativeIndicesHasTheAbsoluteCubesTriangles) {
    const int faces[] = {1, 3, 2, 1, 4, 3, 5, 6, 7, 5, 7, 8, 1, 2, 6, 1, 6, 5, 4, 7, 3, 4, 8, 7, 1, 5, 8, 1, 8, 4,
                         2, 3, 7, 2, 7, 6};
    std::string absolute = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1";
    std::string relative = absolute;
    for (int i = 0; i < 36; ++i) {
        absolute += (i % 3 ? " " : "\nf ") + std::to_string(faces[i]);
        relative += (i % 3 ? " " : "\nf ") + std::to_string(faces[i] - 9);
    }
    auto model = readObj(absolute);
    EXPECT_EQ(model->triangleCount, 12u);
    EXPECT_EQ(corners(*readObj(relative)), corners(*model));
}

TEST(ObjReader, IndicesNamingNoEntryGiveEntryZeroAndOneWarning) {
    // Relative indices count back from the entries before their face, not from the file's end.
    std::string out, faces = "f 1/9 2/-6 0/1\nf 2/2 3/3 -7/-4\nf 1//1 2//7 3//3\nf 1 2\n";
    auto model = readObj("v 0 0 0\nf -1 -2 1\n" + entries + faces, &out);
    EXPECT_EQ(corners(*model), (std::vector<Ints>{{1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0},
        {2, 2, 0}, {3, 3, 0}, {0, 2, 0}, {1, 0, 1}, {2, 0, 0}, {3, 0, 3}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(out, "glmReadOBJ() warning: 7 face indices out of range in \"" + testing::TempDir() +
                       "obj_reader_test.obj\", using 0.\n");
}

TEST(ObjReader, GroupsAndMaterialsComeNewestFirstFromTheLibraryBesideTheModel) {
    writeFile("obj_reader_test.mtl", "Kd 0.1 0.2 0.3\nnewmtl red\nKd 1 0 0\nNs 1000\nKa 0.5 0 0 newmtl hidden\n"
                                     "newmtl blue\r\nKs 0.25 0.5 1\r\n");
    std::string out;
    auto model = readObj("mtllib obj_reader_test.mtl\n" + entries + "f 1 2 3\ng a\nusemtl red\nf 1 3 4\ng b\n"
                         "f 1 2 4\nusemtl blue\ng a\nf 2 3 4\ng\nusemtl green\nf 3 4 5", &out);
    std::vector<std::tuple<std::string, uint32_t, std::vector<uint32_t>>> groups;
    for (const ObjGroup& g : model->groups) groups.emplace_back(g.name, g.material, g.triangleIndices);
    EXPECT_EQ(groups, (decltype(groups){{"", 0, {4}}, {" b", 2, {2}}, {" a", 2, {1, 3}}, {"default", 0, {0}}}));
    EXPECT_EQ(glmGroupByName(model.get(), " b"), &model->groups[1]);
    ASSERT_EQ(model->materialCount, 3u);
    const ObjMaterial &base = model->materials[0], &red = model->materials[1], &blue = model->materials[2];
    EXPECT_EQ(base.name + red.name + blue.name, "defaultredblue");
    EXPECT_EQ((std::vector<float>{base.diffuse[2], red.diffuse[0], red.shininess, red.ambient[0], blue.specular[1],
                                  blue.shininess}), (std::vector<float>{0.3f, 1, 128, 0.5f, 0.5f, 65}));
    EXPECT_EQ(out, "glmFindMaterial():  can't find material \"green\".\n");
}

TEST(ObjReader, ValuesRoundOnceAsTheCLibraryDoes) {
    auto model = readObj("v 1.0000000596046448 +2.5 1e50\nv -0x1p-2 nan 3\nv\n");
    const std::vector<float>& v = model->vertices;
    EXPECT_EQ((std::vector<float>{v[3], v[4], v[5], v[6], v[9]}),
              (std::vector<float>{std::strtof("1.0000000596046448", nullptr), 2.5f, INFINITY, -0.25f, 0}));
    EXPECT_TRUE(std::isnan(v[7]));
    auto empty = readObj("");
    EXPECT_TRUE(empty->groups.size() == 1 && empty->vertices.size() == 3 && empty->triangles.empty());
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
