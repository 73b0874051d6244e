#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "assets/obj_model.h"

namespace {

using Ints = std::vector<int32_t>;

std::string tempPath(const std::string& name) {
    static char pattern[] = "/tmp/obj_reader_test.XXXXXX";
    static const std::string dir = mkdtemp(pattern);
    return dir + "/" + name;
}

std::string writeFile(const std::string& name, const std::string& text) {
    std::ofstream(tempPath(name)) << text;
    return tempPath(name);
}

std::unique_ptr<ObjModel> readObj(const std::string& text, std::string* out = nullptr) {
    std::string path = writeFile("model.obj", text);
    testing::internal::CaptureStdout();
    std::unique_ptr<ObjModel> model(glmReadOBJ(path.c_str()));
    std::string printed = testing::internal::GetCapturedStdout();
    if (out) *out = printed;
    return model;
}

void expectFloats(const std::vector<float>& got, const std::vector<float>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << "value " << i;
}

// One kind of index for every corner of every triangle, in order.
Ints indices(const ObjModel& model, int32_t (ObjTriangle::*kind)[3]) {
    Ints all;
    for (const ObjTriangle& t : model.triangles) all.insert(all.end(), t.*kind, t.*kind + 3);
    return all;
}

std::vector<uint32_t> counts(const ObjModel& m) {
    return {m.vertexCount, m.texcoordCount, m.normalCount, m.triangleCount};
}

std::vector<std::string> groupNames(const ObjModel& model) {
    std::vector<std::string> names;
    for (ObjGroup* g = model.groups; g; g = g->next) names.push_back(g->name);
    return names;
}

const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\n";
const std::string coords = "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.5\n";
const std::string normals = "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\nvn 0 -1 0\n";

}  // namespace

TEST(ObjReader, CountsEntriesIntoOneBasedArrays) {
    auto model = readObj("# a comment\n" + square + coords + normals + "s 1\no thing\nl 1 2\nf 1 2 3\n");
    EXPECT_EQ(counts(*model), (std::vector<uint32_t>{5, 5, 5, 1}));
    ASSERT_TRUE(model->vertices.size() == 18 && model->texcoords.size() == 12 && model->normals.size() == 18);
    expectFloats({model->vertices[3 * 3 + 1], model->texcoords[2 * 5], model->normals[3 * 4 + 2]}, {1, 0.5f, -1});
    auto bare = readObj(square + "f 1 2 3\n");
    EXPECT_TRUE(bare->normals.empty() && bare->texcoords.empty());
}

TEST(ObjReader, FacesBecomeFansInEveryIndexForm) {
    const Ints fan = {1, 2, 3, 1, 3, 4, 1, 4, 5}, none(9, 0);
    const std::tuple<std::string, bool, bool> faces[] = {{"f 1 2 3 4 5\n", false, false},
        {"f 1/1 2/2 3/3 4/4 5/5\n", true, false}, {"f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5\n", true, true},
        {"f 1//1 2//2 3//3 4//4 5//5\n", false, true}};
    for (const auto& [face, hasTexcoord, hasNormal] : faces) {
        SCOPED_TRACE(face);
        auto model = readObj(square + coords + normals + face);
        EXPECT_EQ(indices(*model, &ObjTriangle::vertexIndices), fan);
        EXPECT_EQ(indices(*model, &ObjTriangle::texcoordIndices), hasTexcoord ? fan : none);
        EXPECT_EQ(indices(*model, &ObjTriangle::normalIndices), hasNormal ? fan : none);
        EXPECT_EQ(model->triangles[2].facetNormalIndex, -1);
    }
}

TEST(ObjReader, GroupsCollectTheirTrianglesNewestGroupFirst) {
    auto model = readObj(square + "f 1 2 3\ng body\nf 1 3 4\ng wheel\r\nf 2 3 4\ng body\nf 1 2 4\ng\nf 3 4 5");
    ASSERT_EQ(model->groupCount, 4u);
    EXPECT_EQ(groupNames(*model), (std::vector<std::string>{"", " wheel", " body", "default"}));
    EXPECT_EQ(glmGroupByName(model.get(), " body")->triangleIndices, (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(glmGroupByName(model.get(), " body")->triangleCount, 2u);
    EXPECT_EQ(glmGroupByName(model.get(), "default")->triangleIndices, (std::vector<uint32_t>{0}));
    EXPECT_EQ(glmGroupByName(model.get(), "")->triangleCount, 1u);  // the last line has no line feed
    EXPECT_EQ(glmGroupByName(model.get(), "body"), nullptr);
}

TEST(ObjReader, MaterialsComeFromTheLibraryBesideTheModel) {
    writeFile("paint.mtl",
              "Kd 0.1 0.2 0.3\nnewmtl red\nKd 1 0 0\nKa 0.5 0.5 0.5\nNs 1000\nKe 9 9 9\nNi 1.5\nd 0.5\nillum 2\n"
              "map_Ka nothing.tga\nnewmtl blue\r\nKd 0 0 1\r\nKs 0.25 0.25 0.25\r\nNs 0\nKd 1 1 1 newmtl hidden\n");
    std::string out;
    auto model = readObj("mtllib paint.mtl\n" + square + "g a\nusemtl red\nf 1 2 3\ng b\nf 1 3 4\nusemtl blue\n"
                         "g a\nf 2 3 4\ng c\nusemtl green\nf 1 2 4\n", &out);
    EXPECT_EQ(model->materialLibrary, "paint.mtl");
    ASSERT_EQ(model->materialCount, 3u);
    const ObjMaterial &base = model->materials[0], &red = model->materials[1], &blue = model->materials[2];
    EXPECT_EQ(base.name + " " + red.name + " " + blue.name, "default red blue");
    EXPECT_EQ(red.texture, -1);
    // Red's shininess is capped; a trailing statement on a value line is not a new material.
    expectFloats({base.diffuse[2], base.shininess, red.diffuse[0], red.ambient[1], red.specular[3], red.shininess,
                  blue.specular[0], blue.shininess, blue.diffuse[0]},
                 {0.3f, 65, 1, 0.5f, 1, 128, 0.25f, 0, 1});
    // Group a takes blue from its later g line; b took red at its g line and blue from usemtl.
    for (const auto& [group, material] : {std::pair{" a", 2u}, {" b", 2u}, {" c", 0u}})
        EXPECT_EQ(glmGroupByName(model.get(), group)->material, material) << group;
    EXPECT_NE(out.find("glmFindMaterial():  can't find material \"green\".\n"), std::string::npos) << out;

    auto withoutLibrary = readObj(square);
    testing::internal::CaptureStdout();
    EXPECT_EQ(glmFindMaterial(withoutLibrary.get(), "red"), 0u);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("can't find material \"red\""), std::string::npos);
}

TEST(ObjReader, FaceIndicesOutsideTheFileGiveEntryZeroWithAWarning) {
    std::string out;
    std::string faces = "f 1/1 2/9 3/3\nf 0/1 -1/2 6/3\nf 2/2 3/3 4/-4\nf 1//7 2//1 3//1\nf 1 2\n";
    auto model = readObj(square + coords + faces, &out);
    // The model has no normals at all; the last face has two corners.
    EXPECT_EQ(indices(*model, &ObjTriangle::vertexIndices), (Ints{1, 2, 3, 0, 0, 0, 2, 3, 4, 1, 2, 3, 1, 2, 0}));
    EXPECT_EQ(indices(*model, &ObjTriangle::texcoordIndices), (Ints{1, 0, 3, 1, 2, 3, 2, 3, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(indices(*model, &ObjTriangle::normalIndices), Ints(15, 0));
    EXPECT_NE(out.find("glmReadOBJ() warning: 9 face indices out of range"), std::string::npos) << out;
    EXPECT_NE(out.find("model.obj"), std::string::npos);
}

TEST(ObjReader, LongLinesAndTokensStayWithinTheirLines) {
    std::string longWord(300, 'x');
    std::string text = "# " + longWord + " vp 1 2 3\n" + longWord + " vp\n" + square + "g " + longWord +
                       "\nf 1 2 3\nv 1 2 3 f 1 2 3\nvt 1 2 f 1 2 3 4 5\nf 1 2 3 4 5 " + std::string(200, ' ') +
                       "1 2 3 4 5\nv 1\nf 1 2 3\nf" + std::string(200, '1') + " 2 3\nvn 1 2 3 4 5 6 7 8 9";
    auto model = readObj(text);
    EXPECT_EQ(counts(*model), (std::vector<uint32_t>{7, 1, 1, 1 + 8 + 1 + 1}));
    EXPECT_EQ(model->groups->name, " " + longWord);
    expectFloats({model->vertices[3 * 6], model->vertices[3 * 7], model->vertices[3 * 7 + 1], model->normals[5]},
                 {1, 1, 0, 3});
}

TEST(ObjReaderDeath, UnreadableFilesAndUnknownVertexTokensEndTheProcess) {
    EXPECT_EXIT(glmReadOBJ(tempPath("missing.obj").c_str()), testing::ExitedWithCode(1),
                "glmReadOBJ\\(\\) failed: can't open data file \".*missing.obj\"");
    EXPECT_EXIT(glmReadOBJ(tempPath("").c_str()), testing::ExitedWithCode(1), "can't open data file");
    std::string noLibrary = writeFile("nolib.obj", "mtllib absent.mtl\n" + square);
    EXPECT_EXIT(glmReadOBJ(noLibrary.c_str()), testing::ExitedWithCode(1),
                "glmReadMTL\\(\\) failed: can't open material file \".*/absent.mtl\"");
    // The token message goes to standard output; the child sends it to stderr to be matched.
    std::string parameter = writeFile("vp.obj", square + "vp 1 2\n");
    EXPECT_EXIT((dup2(2, 1), glmReadOBJ(parameter.c_str())), testing::ExitedWithCode(1),
                "glmFirstPass\\(\\): Unknown token \"vp\"");
}
