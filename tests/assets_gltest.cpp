#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "assets/bmp_reader.h"
#include "assets/obj_model.h"
#include "tests/support/gl_context.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::string tempPath(const std::string& name) {
    static char pattern[] = "/tmp/assets_gltest.XXXXXX";
    static const std::string dir = mkdtemp(pattern);
    return dir + "/" + name;
}

void writeFile(const std::string& name, const std::string& bytes) { std::ofstream(tempPath(name)) << bytes; }

// An uncompressed 24-bit TGA of one colour, given as R G B.
std::string solidTga(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(width), 0, char(height), 0, 24, 0};
    for (int i = 0; i < width * height; ++i) bytes += {char(b), char(g), char(r)};
    return bytes;
}

GLint levelWidth(int level) {
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

Bytes boundTexture(int width, int height) {
    Bytes pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Writes the model's text and reads it back.
std::unique_ptr<ObjModel> readModel(const std::string& name, const std::string& text) {
    writeFile(name, text);
    testing::internal::CaptureStdout();
    std::unique_ptr<ObjModel> model(glmReadOBJ(tempPath(name).c_str()));
    testing::internal::GetCapturedStdout();
    return model;
}

std::string drawAndCapture(ObjModel* model, unsigned int mode) {
    testing::internal::CaptureStdout();
    glmDraw(model, mode);
    return testing::internal::GetCapturedStdout();
}

// The colour at the centre of the back buffer after drawing the model over the whole view.
Bytes centrePixel(ObjModel* model, unsigned int mode) {
    for (GLenum matrix : {GL_PROJECTION, GL_MODELVIEW}) glMatrixMode(matrix), glLoadIdentity();
    for (GLenum feature : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D}) glDisable(feature);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawAndCapture(model, mode);
    Bytes pixel(3);
    glReadBuffer(GL_BACK);
    glReadPixels(128, 128, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

const std::string quad = "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";

class AssetsGl : public testing::Test {
    void SetUp() override { ensureGlContext(); }
};

}  // namespace

TEST_F(AssetsGl, UploadsPackedRowsWhateverTheAlignmentAndRestoresIt) {
    RgbImage image{Bytes(18), 3, 2};
    for (int i = 0; i < 18; ++i) image.pixels[i] = uint8_t(10 * i);
    for (GLint alignment : {4, 2, 8}) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        EXPECT_NE(uploadRgbTexture(image), 0u);
        GLint restored = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &restored);
        EXPECT_EQ(restored, alignment);
        EXPECT_EQ(boundTexture(3, 2), image.pixels);
    }
    EXPECT_NE(uploadRgbTexture(RgbImage{{}, 0, 0}), 0u);
    EXPECT_EQ(levelWidth(0), 0);
}

TEST_F(AssetsGl, LoadsTgaTexturesWithMipmapsAndMissingOnesEmpty) {
    float width = -1, height = -1;
    writeFile("green.tga", solidTga(4, 2, 0, 200, 0));
    EXPECT_NE(glmLoadTexture(("  " + tempPath("green.tga")).c_str(), &width, &height), 0u);
    EXPECT_TRUE(width == 4 && height == 2);
    EXPECT_TRUE(levelWidth(1) == 2 && levelWidth(2) == 1);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(boundTexture(4, 2)[1], 200);

    testing::internal::CaptureStderr();
    EXPECT_NE(glmLoadTexture(tempPath("absent.tga").c_str(), &width, &height), 0u);
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(width == 0 && height == 0 && levelWidth(0) == 0);
    EXPECT_NE(messages.find("Could not open texture file"), std::string::npos) << messages;
    EXPECT_NE(messages.find("ERROR: Nu am putut incarca o textura "), std::string::npos) << messages;
}

TEST_F(AssetsGl, MaterialLibrariesShareTexturesByTheirName) {
    fs::create_directories(tempPath("pack"));
    writeFile("pack/red.tga", solidTga(2, 2, 255, 0, 0));
    writeFile("pack/skin.mtl", "newmtl a\nmap_Kd red.tga\nnewmtl b\nmap_Kd   red.tga\nnewmtl c\nmap_Kd red.tga\r\n"
                               "newmtl d\nmap_Kd C:\\art\\red.tga\nnewmtl e\n");
    testing::internal::CaptureStderr();
    auto model = readModel("pack/skin.obj", "mtllib skin.mtl\n" + quad + "usemtl b\nf 1/1 2/2 3/3 4/4\n");
    std::string messages = testing::internal::GetCapturedStderr();
    ASSERT_EQ(model->materialCount, 6u);
    ASSERT_EQ(model->textureCount, 3u);  // the CR LF line and the drive path are other names
    EXPECT_EQ(model->textures[0].name, "red.tga\n");
    EXPECT_TRUE(model->textures[0].width == 2 && model->textures[1].width == 2);
    const int32_t textures[] = {-1, 0, 0, 1, 2, -1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(model->materials[i].texture, textures[i]) << model->materials[i].name;
    EXPECT_NE(messages.find("C:\\art\\red.tga: Could not open texture file"), std::string::npos) << messages;
}

TEST_F(AssetsGl, DrawWarnsAboutEachModeTheModelCannotServe) {
    EXPECT_EQ(drawAndCapture(readModel("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n").get(), 31),
              "glmDraw() warning: flat render mode requested with no facet normals defined.\n"
              "glmDraw() warning: smooth render mode requested with no normals defined.\n"
              "glmDraw() warning: texture render mode requested with no texture coordinates defined.\n"
              "glmDraw() warning: color render mode requested with no materials defined.\n"
              "glmDraw() warning: material render mode requested with no materials defined.\n");
    writeFile("full.mtl", "newmtl red\nKd 1 0 0\n");
    auto full = readModel("full.obj", "mtllib full.mtl\n" + quad + "usemtl red\nf 1/1 2/2 3/3 4/4\ng empty\n");
    glmBuildFacetNormals(full.get());
    glmVertexNormals(full.get());
    EXPECT_EQ(drawAndCapture(full.get(), GLM_MODE_FLAT | GLM_MODE_SMOOTH),
              "glmDraw() warning: flat render mode requested and smooth render mode requested (using smooth).\n");
    glEnable(GL_COLOR_MATERIAL);
    EXPECT_EQ(drawAndCapture(full.get(), GLM_MODE_COLOR | GLM_MODE_MATERIAL),
              "glmDraw() warning: color and material render mode requested using only material mode.\n");
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(drawAndCapture(full.get(), 14), "");
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(AssetsGl, DrawsGroupsWithTheirColourAndTexture) {
    writeFile("green.tga", solidTga(2, 2, 0, 255, 0));
    writeFile("paint.mtl", "newmtl red\nKd 1 0 0\nnewmtl leaf\nKd 1 1 1\nmap_Kd green.tga\n");
    auto red = readModel("red.obj", "mtllib paint.mtl\n" + quad + "g body\nusemtl red\nf 1/1 2/2 3/3 4/4\n");
    auto leaf = readModel("leaf.obj", "mtllib paint.mtl\n" + quad + "g body\nusemtl leaf\nf 1/1 2/2 3/3 4/4\n");
    EXPECT_EQ(centrePixel(red.get(), GLM_MODE_COLOR), (Bytes{255, 0, 0}));
    EXPECT_EQ(centrePixel(leaf.get(), GLM_MODE_COLOR | GLM_MODE_TEXTURE), (Bytes{0, 255, 0}));
    EXPECT_EQ(centrePixel(red.get(), 0), (Bytes{255, 255, 255}));
}

// Every game model reads without a warning or a missing material, with all its textures.
TEST_F(AssetsGl, EveryGameModelReadsCleanly) {
    int models = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("resources/models")) {
        if (entry.path().extension() != ".obj") continue;
        SCOPED_TRACE(entry.path().string());
        ++models;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        std::unique_ptr<ObjModel> model(glmReadOBJ(entry.path().c_str()));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(model->triangleCount > 0 && model->texcoordCount > 0 && model->textureCount > 0);
        for (const char* fault : {"warning", "can't find"}) EXPECT_EQ(out.find(fault), std::string::npos) << out;
        for (const ObjTexture& texture : model->textures) EXPECT_GT(texture.width, 0.0f) << texture.name;
    }
    EXPECT_GT(models, 0);
}
