#include <gtest/gtest.h>

#include <fstream>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "assets/obj_model.h"

namespace {

std::string tempPath(const std::string& name) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/obj_reader_test.XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
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

const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\n";
const std::string coords = "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.5\n";
const std::string normals = "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\nvn 0 -1 0\n";

void expectTriangle(const ObjTriangle& t, int a, int b, int c) {
    EXPECT_EQ(t.vertexIndices[0], a);
    EXPECT_EQ(t.vertexIndices[1], b);
    EXPECT_EQ(t.vertexIndices[2], c);
    EXPECT_EQ(t.facetNormalIndex, -1);
}

}  // namespace

TEST(ObjReader, CountsEntriesIntoOneBasedArrays) {
    auto model = readObj("# a comment\n" + square + coords + normals + "s 1\no thing\nl 1 2\nf 1 2 3\n");
    EXPECT_EQ(model->vertexCount, 5u);
    EXPECT_EQ(model->texcoordCount, 5u);
    EXPECT_EQ(model->normalCount, 5u);
    EXPECT_EQ(model->triangleCount, 1u);
    ASSERT_EQ(model->vertices.size(), 18u);
    ASSERT_EQ(model->texcoords.size(), 12u);
    ASSERT_EQ(model->normals.size(), 18u);
    EXPECT_EQ(model->vertices[0] + model->vertices[1] + model->vertices[2], 0.0f);
    EXPECT_EQ(model->vertices[3 * 3 + 0], 1.0f);
    EXPECT_EQ(model->vertices[3 * 3 + 1], 1.0f);
    EXPECT_EQ(model->texcoords[2 * 5 + 0], 0.5f);
    EXPECT_EQ(model->normals[3 * 4 + 2], -1.0f);
    EXPECT_EQ(model->materialCount, 0u);

    auto bare = readObj(square + "f 1 2 3\n");
    EXPECT_TRUE(bare->normals.empty());
    EXPECT_TRUE(bare->texcoords.empty());
}

TEST(ObjReader, FacesBecomeFansInEveryIndexForm) {
    const std::string faces[] = {"f 1 2 3 4 5\n", "f 1/1 2/2 3/3 4/4 5/5\n", "f 1/1/1 2/2/2 3/3/3 4/4/4 5/5/5\n",
                                 "f 1//1 2//2 3//3 4//4 5//5\n"};
    for (const std::string& face : faces) {
        SCOPED_TRACE(face);
        auto model = readObj(square + coords + normals + face);
        ASSERT_EQ(model->triangleCount, 3u);
        expectTriangle(model->triangles[0], 1, 2, 3);
        expectTriangle(model->triangles[1], 1, 3, 4);
        expectTriangle(model->triangles[2], 1, 4, 5);
        bool hasTexcoord = face.find("/1 ") != std::string::npos && face.find("//") == std::string::npos;
        bool hasNormal = face.find("/1/") != std::string::npos || face.find("//") != std::string::npos;
        const ObjTriangle& last = model->triangles[2];
        EXPECT_EQ(last.texcoordIndices[2], hasTexcoord ? 5 : 0);
        EXPECT_EQ(last.normalIndices[1], hasNormal ? 4 : 0);
    }
}

TEST(ObjReader, GroupsCollectTheirTrianglesNewestGroupFirst) {
    auto model = readObj(square + "f 1 2 3\ng body\nf 1 3 4\ng wheel\r\nf 2 3 4\ng body\nf 1 2 4\ng\nf 3 4 5");
    ASSERT_EQ(model->groupCount, 4u);
    EXPECT_EQ(model->groups->name, "");
    EXPECT_EQ(model->groups->next->name, " wheel");
    EXPECT_EQ(model->groups->next->next->name, " body");
    EXPECT_EQ(model->groups->next->next->next->name, "default");
    EXPECT_EQ(model->groups->next->next->next->next, nullptr);
    ObjGroup* body = glmGroupByName(model.get(), " body");
    ASSERT_NE(body, nullptr);
    ASSERT_EQ(body->triangleCount, 2u);
    EXPECT_EQ(body->triangleIndices, (std::vector<uint32_t>{1, 3}));
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
    const ObjMaterial& base = model->materials[0];
    EXPECT_EQ(base.name, "default");
    EXPECT_FLOAT_EQ(base.diffuse[2], 0.3f);
    EXPECT_FLOAT_EQ(base.shininess, 65.0f);
    const ObjMaterial& red = model->materials[1];
    EXPECT_EQ(red.name, "red");
    EXPECT_FLOAT_EQ(red.diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(red.ambient[1], 0.5f);
    EXPECT_FLOAT_EQ(red.specular[3], 1.0f);
    EXPECT_FLOAT_EQ(red.shininess, 128.0f);
    EXPECT_EQ(red.texture, -1);
    const ObjMaterial& blue = model->materials[2];
    EXPECT_EQ(blue.name, "blue");
    EXPECT_FLOAT_EQ(blue.specular[0], 0.25f);
    EXPECT_FLOAT_EQ(blue.shininess, 0.0f);
    EXPECT_FLOAT_EQ(blue.diffuse[0], 1.0f);  // a trailing statement on a value line is not a new material
    // Group a takes blue from its later g line; b took red at its g line and blue from usemtl.
    EXPECT_EQ(glmGroupByName(model.get(), " a")->material, 2u);
    EXPECT_EQ(glmGroupByName(model.get(), " b")->material, 2u);
    EXPECT_EQ(glmGroupByName(model.get(), " c")->material, 0u);
    EXPECT_NE(out.find("glmFindMaterial():  can't find material \"green\".\n"), std::string::npos) << out;

    auto withoutLibrary = readObj(square);
    testing::internal::CaptureStdout();
    EXPECT_EQ(glmFindMaterial(withoutLibrary.get(), "red"), 0u);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("can't find material \"red\""), std::string::npos);
}

TEST(ObjReader, FaceIndicesOutsideTheFileGiveEntryZeroWithAWarning) {
    std::string out;
    auto model = readObj(square + coords + "f 1/1 2/9 3/3\nf 0/1 -1/2 6/3\nf 2/2 3/3 4/-4\nf 1//7 2//1 3//1\nf 1 2\n",
                         &out);
    ASSERT_EQ(model->triangleCount, 5u);
    EXPECT_EQ(model->triangles[0].texcoordIndices[1], 0);
    expectTriangle(model->triangles[1], 0, 0, 0);
    EXPECT_EQ(model->triangles[2].texcoordIndices[2], 0);
    EXPECT_EQ(model->triangles[3].normalIndices[0], 0);  // the model has no normals at all
    expectTriangle(model->triangles[4], 1, 2, 0);        // a face of two corners
    EXPECT_NE(out.find("glmReadOBJ() warning: 9 face indices out of range"), std::string::npos) << out;
    EXPECT_NE(out.find("model.obj"), std::string::npos);
}

TEST(ObjReader, LongLinesAndTokensStayWithinTheirLines) {
    std::string longWord(300, 'x');
    std::string text = "# " + longWord + " vp 1 2 3\n" + longWord + " vp\n" + square +
                       "g " + longWord + "\nf 1 2 3\n" + "v 1 2 3 f 1 2 3\n" + "vt 1 2 f 1 2 3 4 5\n" +
                       "f 1 2 3 4 5 " + std::string(200, ' ') + "1 2 3 4 5\n" + "v 1\nf 1 2 3\n" + "f" +
                       std::string(200, '1') + " 2 3\n" + "vn 1 2 3 4 5 6 7 8 9";
    std::string out;
    auto model = readObj(text, &out);
    EXPECT_EQ(model->vertexCount, 7u);
    EXPECT_EQ(model->texcoordCount, 1u);
    EXPECT_EQ(model->normalCount, 1u);
    EXPECT_EQ(model->triangleCount, 1u + 8u + 1u + 1u);
    EXPECT_EQ(model->groups->name, " " + longWord);
    EXPECT_EQ(model->vertices[3 * 6], 1.0f);
    EXPECT_EQ(model->vertices[3 * 7], 1.0f);
    EXPECT_EQ(model->vertices[3 * 7 + 1], 0.0f);
    EXPECT_EQ(model->normals[3 + 2], 3.0f);
}

TEST(ObjReaderDeath, UnreadableFilesAndUnknownVertexTokensEndTheProcess) {
    std::string missing = tempPath("missing.obj");
    EXPECT_EXIT(glmReadOBJ(missing.c_str()), testing::ExitedWithCode(1),
                "glmReadOBJ\\(\\) failed: can't open data file \".*missing.obj\"");
    std::string noLibrary = writeFile("nolib.obj", "mtllib absent.mtl\n" + square);
    EXPECT_EXIT(glmReadOBJ(noLibrary.c_str()), testing::ExitedWithCode(1),
                "glmReadMTL\\(\\) failed: can't open material file \".*/absent.mtl\"");
    // The token message goes to standard output; the child sends it to stderr to be matched.
    std::string parameter = writeFile("vp.obj", square + "vp 1 2\n");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            glmReadOBJ(parameter.c_str());
        },
        testing::ExitedWithCode(1), "glmFirstPass\\(\\): Unknown token \"vp\"");
    EXPECT_EXIT(glmReadOBJ(tempPath("").c_str()), testing::ExitedWithCode(1), "can't open data file");
}
