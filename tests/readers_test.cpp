// The file readers, given good and bad files: BMP and TGA pictures, the heightfield, OBJ models and materials, shaders.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "assets/bmp_reader.h"
#include "assets/obj_model.h"
#include "assets/shader_program.h"
#include "assets/tga_reader.h"
#include "world/terrain.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Ints = std::vector<int32_t>;

const std::string path = testing::TempDir() + "readers_test.img";

std::string writeFile(const std::string& name, const std::string& text) {
    std::ofstream(testing::TempDir() + name, std::ios::binary) << text;
    return testing::TempDir() + name;
}

// Writes the bytes to the test's file and reads it; returns what was printed, on either stream.
template <typename Content, typename Read>
std::string printedReading(const Content& bytes, Read read) {
    writeFile("readers_test.img", std::string(bytes.begin(), bytes.end()));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    read(path.c_str());
    return testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
}

bool oneLineNamingTheFile(const std::string& out) {
    return out.find(path) != std::string::npos && out.find('\n') == out.size() - 1;
}

void put(Bytes* b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) (*b)[at + i] = uint8_t(value >> (8 * i));
}

// A 24-bit BMP whose pixel i, bottom row first, is B=i, G=i+100, R=i+200, rows padded to 4 bytes; and its RGB.
std::pair<Bytes, Bytes> makeBmp(uint32_t infoSize, int32_t width, int32_t height) {
    const int start = 14 + int(infoSize), rowSize = (width * 3 + 3) / 4 * 4, rows = std::abs(height);
    const int size = infoSize == 12 ? 2 : 4;  // OS/2 headers hold 16-bit sizes
    Bytes b(size_t(start + rowSize * rows), 0), rgb;
    put(&b, 10, start, 4), put(&b, 14, infoSize, 4), put(&b, 18, uint32_t(width), size);
    put(&b, 18 + size, uint32_t(height), size), put(&b, 20 + 2 * size, 24, 2);
    for (int i = 0; i < width * rows; ++i) {
        const int row = height < 0 ? rows - 1 - i / width : i / width;  // top-down files store the top row first
        for (int c = 0; c < 3; ++c) b[size_t(start + row * rowSize + 3 * (i % width) + c)] = uint8_t(i + 100 * c);
        rgb.insert(rgb.end(), {uint8_t(i + 200), uint8_t(i + 100), uint8_t(i)});
    }
    return {b, rgb};
}

// An 18-byte TGA header of the given type, size and depth, followed by the body.
Bytes tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, Bytes body = {}) {
    Bytes header = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                    uint8_t(height >> 8), bits, 0};
    return header.insert(header.end(), body.begin(), body.end()), header;
}

// Builds the terrain from an image of the given size and depth; returns the status and what it printed.
std::pair<int, std::string> build(int width, int height, int bits, Bytes data) {
    testing::internal::CaptureStdout();
    TgaImage picture{0, uint8_t(bits == 8 ? 3 : 2), uint8_t(bits), int16_t(width), int16_t(height), std::move(data)};
    int status = buildHeightfield(picture, "hills.tga");
    return {status, testing::internal::GetCapturedStdout()};
}

std::string said;  // what the last model read printed

std::unique_ptr<ObjModel> readObj(const std::string& text) {
    std::unique_ptr<ObjModel> model;
    said = printedReading(text, [&](const char* file) { model.reset(glmReadOBJ(file)); });
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

// Good files by header size and shape; bad ones patch a value of so many bytes at an offset, or keep only a start.
TEST(BmpReader, ReadsGoodFilesBottomRowFirstAndNamesTheOthersInOneLine) {
    const struct { uint32_t info; int32_t width, height; size_t at = 0; uint32_t value = 0; int bytes = 0, keep = -1; }
    files[] = {{40, 3, 1}, {40, 4, 3}, {12, 3, 2}, {108, 5, 2}, {124, 1, 1}, {40, 3, -4}, {40, 4, 4, 0, 0, 0, 0},
        {40, 4, 4, 0, 0, 0, 20}, {40, 4, 4, 0, 0, 0, 54 + 47}, {40, 4, 4, 14, 64, 4}, {40, 4, 4, 28, 32, 2},
        {40, 4, 4, 30, 1, 4}, {40, 4, 4, 18, 0, 4}, {40, 4, 4, 22, 0, 4}, {40, 4, 4, 10, 0xfffffff0u, 4}};
    for (const auto& f : files) {
        auto [bytes, rgb] = makeBmp(f.info, f.width, f.height);
        put(&bytes, f.at, f.value, f.bytes);
        if (f.keep >= 0) bytes.resize(size_t(f.keep));
        const bool good = f.bytes == 0 && f.keep < 0;
        std::unique_ptr<RgbImage> image;
        const std::string out = printedReading(bytes, [&](const char* file) { image = loadBmp(file); });
        EXPECT_TRUE(good ? image->width == f.width && image->height == std::abs(f.height) && image->pixels == rgb &&
                               out.empty()
                         : !image->width && !image->height && image->pixels.empty() && oneLineNamingTheFile(out))
            << "row " << &f - files << ": " << out;
    }
}

// Pixels read (none: refused) and the message ("ERROR" ones lack the file's name); the RLE file holds a run of 3,
// 2 raw and a spare byte.
TEST(TgaTexture, ReadsPixelsAsRgbOrShowsWhyNot) {
    const std::string data = "Could not read image data", rle = "Could not read RLE header";
    const std::tuple<Bytes, Bytes, std::string> cases[] = {
        {tga(2, 2, 1, 24, {0x10, 0x20, 0x30, 1, 2, 3}), {0x30, 0x20, 0x10, 3, 2, 1}, ""},
        {tga(10, 5, 1, 32, {0x82, 1, 2, 3, 4, 0x01, 10, 11, 12, 13, 20, 21, 22, 23, 99}),
         {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 12, 11, 10, 13, 22, 21, 20, 23}, ""},
        {{0, 0, 2}, {}, "Could not read file header"}, {tga(3, 1, 1, 8), {}, "TGA file be type 2 or type 10 "},
        {tga(2, 1, 1, 16, {1, 2}), {}, "Invalid texture information"}, {tga(2, 2, 2, 24, {1, 2}), {}, "ERROR: " + data},
        {tga(10, 0xffff, 0xffff, 32, {0xff, 1, 2, 3, 4}), {}, rle}, {tga(10, 2, 1, 24, {0x80, 1, 2, 3}), {}, rle},
        {tga(10, 2, 1, 24, {0x01, 1, 2, 3}), {}, data}, {tga(10, 2, 1, 24, {0x81, 1}), {}, "Could not read from file"},
        {tga(10, 2, 1, 24, {0x82, 1, 2, 3}), {}, "Too many pixels read"}, {tga(10, 1, 1, 16, {0x80, 1, 2}), {}, ""}};
    for (const auto& [bytes, pixels, message] : cases) {
        TextureImage image{};
        bool loaded = false;
        const std::string out = printedReading(bytes, [&](const char* file) { loaded = loadTgaTexture(file, &image); });
        const std::string named = message.rfind("ERROR", 0) == 0 ? message : path + ": " + message;
        EXPECT_EQ(out, message.empty() ? "" : named + "\n");
        EXPECT_TRUE(loaded == !pixels.empty() && image.data == pixels &&
                    (pixels.empty() || image.format == (bytes[16] == 32 ? GL_RGBA : GL_RGB)));
    }
}

TEST(Terrain, ReadsImagesIntoHeightsFoundUnderPointsOfTheGridAndReportsBadOnesInOneLine) {
    Bytes mapped = tga(2, 2, 1, 24, {'i', 'd', 9, 9, 9, 9, 9, 9, 0x10, 0x20, 0x30, 1, 2, 3});
    mapped[0] = 2, mapped[1] = 1, mapped[5] = 2, mapped[7] = 24;  // an ID of 2 bytes, a colour map of 2 entries
    const std::tuple<Bytes, int, Bytes> cases[] = {{tga(3, 2, 2, 8, {1, 2, 3, 4}), 0, {1, 2, 3, 4}},
        {mapped, 0, {0x30, 0x20, 0x10, 3, 2, 1}}, {{0, 0, 3, 0}, -4, {}}, {tga(1, 2, 2, 8), -3, {}},
        {tga(10, 2, 2, 24), -1, {}}, {tga(2, 1, 1, 40, {1, 2, 3, 4, 5}), -1, {}}, {tga(3, 2, 2, 8, {1, 2, 3}), -4, {}}};
    for (const auto& [bytes, status, pixels] : cases) {
        std::unique_ptr<TgaImage> image;
        const std::string out = printedReading(bytes, [&](const char* file) { image = loadTerrainTga(file); });
        EXPECT_TRUE(image->status == status && image->data == pixels) << status;
        EXPECT_TRUE(status ? oneLineNamingTheFile(out) : out.empty()) << out;
    }
    // Heights from each pixel's last byte (24-bit pixels made grey first), colours from 32-bit pixels only; bad sizes
    // and depths leave no terrain. Rescaled, heights span -3 to 9, read under a point of the 5 x 4 grid (column
    // trunc(x) + 2, row 102 - trunc(z)) and nowhere outside it.
    const std::tuple<int, Bytes, float, float> images[] = {{16, {7, 99, 8, 98}, 98, -256},
        {24, {0, 0, 0, 100, 150, 200}, 140, -256}, {32, {10, 20, 30, 200, 40, 50, 60, 100}, 100, 60}};
    for (const auto& [bits, pixels, height, blue] : images) {
        ASSERT_EQ(build(2, 1, bits, pixels).first, 0);
        float shade = terrain.surfaceColours ? terrain.surfaceColours[5] : -1;
        EXPECT_TRUE(terrain.heights[1] == height / 256 && shade == blue / 256) << bits;
    }
    const std::tuple<int, int, int, Bytes> bad[] = {
        {0, 4, 8, {}}, {4, -2, 8, Bytes(8)}, {2, 2, 12, Bytes(8)}, {3, 3, 8, {1}}};
    for (const auto& [width, height, bits, data] : bad) {
        build(2, 2, 8, {1, 2, 3, 4});
        auto [status, out] = build(width, height, bits, data);
        float under = 0;
        EXPECT_TRUE(status == -4 && out.rfind("Terrain: hills.tga: ", 0) == 0 && out.find('\n') == out.size() - 1);
        EXPECT_TRUE(terrain.heights == nullptr && rescaleHeightfield() == -1 && !terrainHeightAt(0, 100, &under));
    }
    Bytes grey(20);
    for (int i = 0; i < 20; ++i) grey[size_t(i)] = uint8_t(i * 12);
    build(5, 4, 8, grey);
    EXPECT_EQ(rescaleHeightfield(), 0);
    const float points[][3] = {{0, 102, 2}, {0.9f, 101.5f, 7}, {-2, 102, 0}, {2.7f, 99, 19}, {-1.5f, 100.2f, 11},
        {3, 100, -1}, {-3, 100, -1}, {0, 103, -1}, {0, 98, -1}, {1e30f, 100, -1}, {NAN, 100, -1}, {0, INFINITY, -1}};
    for (const auto& [x, z, sample] : points) {
        float height = -1;
        EXPECT_EQ(terrainHeightAt(x, z, &height), sample >= 0) << x << ", " << z;
        EXPECT_NEAR(height, sample >= 0 ? sample * 12 / 19.0f - 3 : -1, 1e-5) << x << ", " << z;
    }
}

// A face goes on across a line that starts with a corner; values round once, as strtof rounds them.
TEST(ObjReader, ReadsFacesInEveryFormAsFansAndValuesAsTheCLibraryDoes) {
    auto model = readObj("# comment\ns 1\no thing\nl 1 2\n" + entries + "f 1 2 3 4 5\nf 1/1 2/2 3/3 4/4 5/5\n"
        "f 1/1/1 2/2/2 3/3/3\n4/4/4 5/5/5\nf -5//-5 -4//-4 -3//-3 -2//-2 -1//-1\n"
        "f -5/-5/-5 2/-4/2 -3/3/-3 4/-2/4 -1/5/-1\nv 1.0000000596046448 +2.5 1e50\nv -0x1p-2 nan 3\nv");
    std::vector<Ints> fans;
    for (auto [texcoord, normal] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}, {1, 1}})
        for (int i : {1, 2, 3, 1, 3, 4, 1, 4, 5}) fans.push_back({i, i * texcoord, i * normal});
    EXPECT_EQ(corners(*model), fans);
    EXPECT_TRUE(model->texcoords[2 * 5 + 1] == 0.5f && model->normals[3 * 4 + 2] == -1.0f);
    const std::vector<float>& v = model->vertices;
    EXPECT_EQ((std::vector<float>{v[18], v[19], v[20], v[21], v[24]}),
              (std::vector<float>{std::strtof("1.0000000596046448", nullptr), 2.5f, INFINITY, -0.25f, 0}));
    EXPECT_TRUE(std::isnan(v[22]) && v.size() == 27);
    // Relative indices count back from the entries before their face, not from the file's end; those naming no entry
    // give entry 0 and one warning.
    model = readObj("v 0 0 0\nf -1 -2 1\n" + entries + "f 1/9 2/-6 0/1\nf 2/2 3/3 -7/-4\nf 1//1 2//7 3//3\n"
                         "f 1 2\n");
    EXPECT_EQ(corners(*model), (std::vector<Ints>{{1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0},
        {2, 2, 0}, {3, 3, 0}, {0, 2, 0}, {1, 0, 1}, {2, 0, 0}, {3, 0, 3}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(said, "glmReadOBJ() warning: 7 face indices out of range in \"" + path + "\", using 0.\n");
}

// Ns 0..1000 becomes 0..128; text after a value on its line is ignored; CR LF line ends.
TEST(ObjReader, GroupsAndMaterialsComeNewestFirstFromTheLibraryBesideTheModel) {
    writeFile("obj_reader_test.mtl", "Kd 0.1 0.2 0.3\nnewmtl red\nKd 1 0 0\nNs 1000\nKa 0.5 0 0 newmtl hidden\n"
                                     "newmtl blue\r\nKs 0.25 0.5 1\r\n");
    auto model = readObj("mtllib obj_reader_test.mtl\n" + entries + "f 1 2 3\ng a\nusemtl red\nf 1 3 4\ng b\n"
                         "f 1 2 4\nusemtl blue\ng a\nf 2 3 4\ng\nusemtl green\nf 3 4 5");
    std::vector<std::tuple<std::string, uint32_t, std::vector<uint32_t>>> groups;
    for (const ObjGroup& g : model->groups) groups.emplace_back(g.name, g.material, g.triangleIndices);
    EXPECT_EQ(groups, (decltype(groups){{"", 0, {4}}, {" b", 2, {2}}, {" a", 2, {1, 3}}, {"default", 0, {0}}}));
    const auto& m = model->materials;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].name + m[1].name + m[2].name, "defaultredblue");
    EXPECT_EQ((std::vector<float>{m[0].diffuse[2], m[1].diffuse[0], m[1].shininess, m[1].ambient[0], m[2].specular[1],
                                  m[2].shininess}), (std::vector<float>{0.3f, 1, 128, 0.5f, 0.5f, 65}));
    EXPECT_EQ(said, "glmFindMaterial():  can't find material \"green\".\n");
}

// Corners within ninety degrees share one normal: the cube's 36 corners get 8, two triangles folded back on each
// other 6. These, a triangle naming a vertex twice and a vertex no triangle uses leave every normal finite.
TEST(ObjReader, CornersWithinNinetyDegreesShareANormalThatStaysFinite) {
    const std::pair<std::string, uint32_t> models[] = {{"v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\n"
        "v 0 1 1\nf 1 3 2\nf 1 4 3\nf 5 6 7\nf 5 7 8\nf 1 2 6\nf 1 6 5\nf 4 7 3\nf 4 8 7\nf 1 5 8\nf 1 8 4\nf 2 3 7\n"
        "f 2 7 6\n", 8}, {"v 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 5 5\nf 1 2 3\nf 1 3 2\nf 1 2 1\n", 6}};
    for (const auto& [text, count] : models) {
        auto model = readObj(text);
        glmBuildFacetNormals(model.get());
        testing::internal::CaptureStderr();
        glmVertexNormals(model.get());
        EXPECT_EQ(testing::internal::GetCapturedStderr().empty(), count == 8) << "a warning for the unused vertex";
        EXPECT_EQ(model->normalCount, count);
        for (float v : model->normals) EXPECT_TRUE(std::isfinite(v));
    }
}

// The token message goes to standard output; the child sends it to stderr to be matched.
TEST(ObjReaderDeath, UnreadableFilesAndUnknownVertexTokensEndTheProcess) {
    const std::pair<std::string, const char*> fatal[] = {
        {"/nonexistent/missing.obj", "glmReadOBJ\\(\\) failed: can't open data file \"/nonexistent/missing.obj\""},
        {"/tmp", "can't open data file"}, {writeFile("obj_reader_test_vp.obj", "vp 1 2\n"), "Unknown token \"vp\""},
        {writeFile("obj_reader_test_lib.obj", "mtllib absent.mtl\n"), "can't open material file \".*/absent.mtl\""}};
    for (const auto& [file, message] : fatal)
        EXPECT_EXIT((dup2(2, 1), glmReadOBJ(file.c_str())), testing::ExitedWithCode(1), message);
}

// Another program cutting the file short and writing it out again while the game reads it: the model as far as read.
TEST(ObjReader, AFileCutShortWhileItIsReadIsReadAsFarAsItGoes) {
    std::string text;
    for (int i = 0; i < 400000; ++i) text += "v 1 2 3\n";
    const std::string file = writeFile("obj_reader_test_cut.obj", text);
    const int descriptor = open(file.c_str(), O_WRONLY);
    const size_t half = text.size() / 2;
    std::atomic<bool> reading{true};
    std::thread cutter([&] {
        while (reading) EXPECT_TRUE(ftruncate(descriptor, off_t(half)) == 0 &&
                                    pwrite(descriptor, &text[half], half, off_t(half)) == ssize_t(half));
    });
    for (int read = 0; read < 20; ++read)
        EXPECT_GE(std::unique_ptr<ObjModel>(glmReadOBJ(file.c_str()))->vertexCount, 199999u);
    reading = false, cutter.join(), close(descriptor);
}

// The shader loader names an unreadable or empty file itself and draws on without shaders: the reader says null.
TEST(ReadTextFile, YieldsNullForMissingEmptyAndDirectoryAndTheWholeTextOtherwise) {
    const std::pair<std::string, const char*> files[] = {{"/nonexistent/gorvanka.vert", nullptr}, {"/tmp", nullptr},
        {writeFile("readers_test_empty.vert", ""), nullptr}, {writeFile("readers_test.vert", "a\r\nb\n"), "a\r\nb\n"}};
    for (const auto& [file, text] : files) {
        std::unique_ptr<char, decltype(&std::free)> read(readTextFile(file.c_str()), std::free);
        EXPECT_STREQ(read.get(), text) << file;
    }
}
