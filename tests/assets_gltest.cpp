#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "assets/bmp_reader.h"
#include "assets/obj_model.h"
#include "assets/tga_reader.h"
#include "tests/support/gl_context.h"

namespace {

namespace fs = std::filesystem;

std::string tempPath(const std::string& name) {
    static const std::string dir = [] {
        char pattern[] = "/tmp/assets_gltest.XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir + "/" + name;
}

void writeFile(const std::string& name, const std::string& bytes) { std::ofstream(tempPath(name)) << bytes; }

// An uncompressed 24-bit TGA of one colour, given as R G B.
std::string solidTga(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(width), char(width >> 8), char(height),
                         char(height >> 8), 24, 0};
    for (int i = 0; i < width * height; ++i) bytes += {char(b), char(g), char(r)};
    return bytes;
}

GLint glInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint levelWidth(int level) {
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

std::vector<uint8_t> readTexture(int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::unique_ptr<ObjModel> readModel(const std::string& name, std::string* out = nullptr) {
    testing::internal::CaptureStdout();
    std::unique_ptr<ObjModel> model(glmReadOBJ(tempPath(name).c_str()));
    std::string printed = testing::internal::GetCapturedStdout();
    if (out) *out = printed;
    return model;
}

std::string drawAndCapture(ObjModel* model, unsigned int mode) {
    testing::internal::CaptureStdout();
    glmDraw(model, mode);
    return testing::internal::GetCapturedStdout();
}

// The colour at the centre of the back buffer after drawing the model over the whole view.
std::vector<uint8_t> centrePixel(ObjModel* model, unsigned int mode) {
    for (GLenum matrix : {GL_PROJECTION, GL_MODELVIEW}) glMatrixMode(matrix), glLoadIdentity();
    for (GLenum feature : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D}) glDisable(feature);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawAndCapture(model, mode);
    std::vector<uint8_t> pixel(3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(128, 128, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

const std::string quad = "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";

}  // namespace

TEST(AssetsGl, UploadsPackedRowsWhateverTheAlignmentAndRestoresIt) {
    ensureGlContext();
    RgbImage image{{}, 3, 2};
    for (int i = 0; i < 18; ++i) image.pixels.push_back(uint8_t(10 * i));
    for (GLint alignment : {4, 2, 8}) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        GLuint texture = uploadRgbTexture(image);
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), alignment);
        EXPECT_EQ(readTexture(3, 2), image.pixels);
    }
    RgbImage empty{{}, 0, 0};
    EXPECT_NE(uploadRgbTexture(empty), 0u);
    EXPECT_EQ(levelWidth(0), 0);
}

TEST(AssetsGl, LoadsTgaTexturesWithMipmapsAndMissingOnesEmpty) {
    ensureGlContext();
    float width = -1, height = -1;
    writeFile("green.tga", solidTga(4, 2, 0, 200, 0));
    GLuint texture = glmLoadTexture(("  " + tempPath("green.tga")).c_str(), &width, &height);
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(width, 4.0f);
    EXPECT_EQ(height, 2.0f);
    EXPECT_EQ(levelWidth(1), 2);
    EXPECT_EQ(levelWidth(2), 1);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(readTexture(4, 2)[1], 200);

    testing::internal::CaptureStderr();
    GLuint missing = glmLoadTexture(tempPath("absent.tga").c_str(), &width, &height);
    std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(missing, 0u);
    EXPECT_EQ(width, 0.0f);
    EXPECT_EQ(height, 0.0f);
    EXPECT_EQ(levelWidth(0), 0);
    EXPECT_NE(messages.find("Could not open texture file"), std::string::npos) << messages;
    EXPECT_NE(messages.find("ERROR: Nu am putut incarca o textura "), std::string::npos) << messages;
}

TEST(AssetsGl, MaterialLibrariesShareTexturesByTheirName) {
    ensureGlContext();
    fs::create_directories(tempPath("pack"));
    writeFile("pack/red.tga", solidTga(2, 2, 255, 0, 0));
    writeFile("pack/skin.mtl",
              "newmtl a\nmap_Kd red.tga\nnewmtl b\nmap_Kd   red.tga\nnewmtl c\nmap_Kd red.tga\r\n"
              "newmtl d\nmap_Kd C:\\art\\red.tga\nnewmtl e\n");
    writeFile("pack/skin.obj", "mtllib skin.mtl\n" + quad + "usemtl b\nf 1/1 2/2 3/3 4/4\n");
    testing::internal::CaptureStderr();
    auto model = readModel("pack/skin.obj");
    std::string messages = testing::internal::GetCapturedStderr();
    ASSERT_EQ(model->materialCount, 6u);
    ASSERT_EQ(model->textureCount, 3u);  // the CR LF line and the drive path are other names
    EXPECT_EQ(model->textures[0].name, "red.tga\n");
    EXPECT_EQ(model->textures[0].width, 2.0f);
    EXPECT_EQ(model->textures[1].width, 2.0f);
    EXPECT_EQ(model->materials[1].texture, 0);
    EXPECT_EQ(model->materials[2].texture, 0);
    EXPECT_EQ(model->materials[3].texture, 1);
    EXPECT_EQ(model->materials[4].texture, 2);
    EXPECT_EQ(model->materials[5].texture, -1);
    EXPECT_NE(messages.find("C:\\art\\red.tga: Could not open texture file"), std::string::npos) << messages;
}

TEST(AssetsGl, DrawWarnsAboutEachModeTheModelCannotServe) {
    ensureGlContext();
    writeFile("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    auto plain = readModel("plain.obj");
    EXPECT_EQ(drawAndCapture(plain.get(), 31),
              "glmDraw() warning: flat render mode requested with no facet normals defined.\n"
              "glmDraw() warning: smooth render mode requested with no normals defined.\n"
              "glmDraw() warning: texture render mode requested with no texture coordinates defined.\n"
              "glmDraw() warning: color render mode requested with no materials defined.\n"
              "glmDraw() warning: material render mode requested with no materials defined.\n");
    writeFile("full.mtl", "newmtl red\nKd 1 0 0\n");
    writeFile("full.obj", "mtllib full.mtl\n" + quad + "usemtl red\nf 1/1 2/2 3/3 4/4\ng empty\n");
    auto full = readModel("full.obj");
    glmBuildFacetNormals(full.get());
    glmVertexNormals(full.get());
    EXPECT_EQ(drawAndCapture(full.get(), GLM_MODE_FLAT | GLM_MODE_SMOOTH),
              "glmDraw() warning: flat render mode requested and smooth render mode requested (using smooth).\n");
    glEnable(GL_COLOR_MATERIAL);
    EXPECT_EQ(drawAndCapture(full.get(), GLM_MODE_COLOR | GLM_MODE_MATERIAL),
              "glmDraw() warning: color and material render mode requested using only material mode.\n");
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(drawAndCapture(full.get(), 14), "");
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(AssetsGl, DrawsGroupsWithTheirColourAndTexture) {
    ensureGlContext();
    writeFile("green.tga", solidTga(2, 2, 0, 255, 0));
    writeFile("paint.mtl", "newmtl red\nKd 1 0 0\nnewmtl leaf\nKd 1 1 1\nmap_Kd green.tga\n");
    writeFile("red.obj", "mtllib paint.mtl\n" + quad + "g body\nusemtl red\nf 1/1 2/2 3/3 4/4\n");
    writeFile("leaf.obj", "mtllib paint.mtl\n" + quad + "g body\nusemtl leaf\nf 1/1 2/2 3/3 4/4\n");
    auto red = readModel("red.obj");
    auto leaf = readModel("leaf.obj");
    EXPECT_EQ(centrePixel(red.get(), GLM_MODE_COLOR), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(centrePixel(leaf.get(), GLM_MODE_COLOR | GLM_MODE_TEXTURE), (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(centrePixel(red.get(), 0), (std::vector<uint8_t>{255, 255, 255}));
}

namespace {

// Counts the model's statements straight from its text, to check the reader against.
struct TextCounts {
    uint32_t vertices = 0, normals = 0, texcoords = 0, triangles = 0;
};

TextCounts countStatements(const fs::path& path) {
    TextCounts counts;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "v") ++counts.vertices;
        if (word == "vn") ++counts.normals;
        if (word == "vt") ++counts.texcoords;
        if (word != "f") continue;
        int corners = 0;
        while (words >> word) ++corners;
        counts.triangles += uint32_t(corners - 2);
    }
    return counts;
}

}  // namespace

TEST(AssetsGl, EveryGameModelAndPictureReadsWithItsCounts) {
    ensureGlContext();
    if (!fs::is_directory("resources")) GTEST_SKIP() << "no resources/ yet";
    int files = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("resources")) {
        std::string path = entry.path().string();
        std::string extension = entry.path().extension().string();
        SCOPED_TRACE(path);
        if (extension == ".obj") {
            ++files;
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            std::unique_ptr<ObjModel> model(glmReadOBJ(path.c_str()));
            std::string out = testing::internal::GetCapturedStdout();
            std::string messages = testing::internal::GetCapturedStderr();
            TextCounts counts = countStatements(entry.path());
            EXPECT_EQ(model->vertexCount, counts.vertices);
            EXPECT_EQ(model->normalCount, counts.normals);
            EXPECT_EQ(model->texcoordCount, counts.texcoords);
            EXPECT_EQ(model->triangleCount, counts.triangles);
            EXPECT_EQ(out.find("warning"), std::string::npos) << out;
            EXPECT_EQ(out.find("can't find"), std::string::npos) << out;
            EXPECT_EQ(messages, "");
            for (const ObjTexture& texture : model->textures) EXPECT_GT(texture.width, 0.0f) << texture.name;
        } else if (extension == ".bmp") {
            ++files;
            auto image = loadBmp(path.c_str());
            EXPECT_GT(image->width, 0);
            EXPECT_EQ(image->pixels.size(), size_t(image->width) * image->height * 3);
        } else if (extension == ".tga" && path != terrainImagePath) {
            ++files;
            TextureImage image{};
            EXPECT_TRUE(loadTgaTexture(path.c_str(), &image));
            EXPECT_EQ(image.data.size(), size_t(image.width) * image.height * image.bitsPerPixel / 8);
        }
    }
    if (fs::exists(terrainImagePath)) {
        auto terrain = loadTerrainTga();
        EXPECT_EQ(terrain->status, 0);
        EXPECT_GT(terrain->width, 0);
    }
    if (files == 0) GTEST_SKIP() << "resources/ holds no models or pictures yet";
}
