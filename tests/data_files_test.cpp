// The committed data files: what the generator makes, and what the readers need.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kResources = "resources";

std::vector<unsigned char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned readLe(const std::vector<unsigned char>& bytes, size_t at, int size) {
    unsigned value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
    return value;
}

std::set<fs::path> filesUnder(const fs::path& root) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root));
    return files;
}

void expectBmp(const fs::path& path) {
    SCOPED_TRACE(path.string());
    std::vector<unsigned char> bytes = readFile(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(readLe(bytes, 14, 4), 40u);   // info header size
    EXPECT_EQ(readLe(bytes, 28, 2), 24u);   // bits per pixel
    EXPECT_EQ(readLe(bytes, 30, 4), 0u);    // no compression
    unsigned width = readLe(bytes, 18, 4);
    int height = static_cast<int>(readLe(bytes, 22, 4));
    ASSERT_GT(height, 0);
    size_t rowSize = (width * 3 + 3) / 4 * 4;
    EXPECT_GE(bytes.size(), readLe(bytes, 10, 4) + rowSize * height);
}

// type: 2 or 10 for model textures; the heightmap passes 3.
void expectTga(const fs::path& path, const std::set<int>& types, const std::set<int>& depths) {
    SCOPED_TRACE(path.string());
    std::vector<unsigned char> bytes = readFile(path);
    ASSERT_GE(bytes.size(), 18u);
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) EXPECT_EQ(bytes[i], 0) << "header byte " << i;
    EXPECT_TRUE(types.count(bytes[2])) << "type " << int(bytes[2]);
    EXPECT_TRUE(depths.count(bytes[16])) << "bits " << int(bytes[16]);
    size_t pixels = size_t(readLe(bytes, 12, 2)) * readLe(bytes, 14, 2);
    EXPECT_GT(pixels, 0u);
    if (bytes[2] != 10) {
        EXPECT_GE(bytes.size(), 18 + pixels * bytes[16] / 8);
    }
}

std::string afterBlanks(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? "" : text.substr(start);
}

// The library exists and every map_Kd in it names an existing TGA; returns its materials.
std::set<std::string> expectLibrary(const fs::path& path) {
    std::set<std::string> materials;
    std::ifstream mtl(path);
    EXPECT_TRUE(mtl.is_open()) << path;
    std::string line, token, word;
    while (std::getline(mtl, line)) {
        std::istringstream words(line);
        words >> token;
        if (token == "newmtl" && words >> word) materials.insert(word);
        if (token != "map_Kd") continue;
        std::getline(words, word);
        fs::path texture = path.parent_path() / afterBlanks(word);
        EXPECT_EQ(texture.extension(), ".tga");
        expectTga(texture, {2, 10}, {24, 32});
    }
    return materials;
}

// The model has a library, groups and texture coordinates, uses only
// materials its library defines, and no face index is out of range.
void expectModel(const fs::path& path) {
    SCOPED_TRACE(path.string());
    std::ifstream obj(path);
    ASSERT_TRUE(obj.is_open());
    std::set<std::string> materials, used;
    long counts[3] = {0, 0, 0};  // v, vt, vn
    std::vector<std::string> corners;
    bool hasLibrary = false, hasGroup = false;
    std::string line, token, word;
    while (std::getline(obj, line)) {
        std::istringstream words(line);
        words >> token;
        if (token == "v") ++counts[0];
        if (token == "vt") ++counts[1];
        if (token == "vn") ++counts[2];
        if (token == "g") hasGroup = true;
        if (token == "usemtl" && words >> word) used.insert(word);
        if (token == "f")
            while (words >> word) corners.push_back(word);
        if (token == "mtllib" && words >> word) {
            hasLibrary = true;
            materials = expectLibrary(path.parent_path() / word);
        }
    }
    EXPECT_TRUE(hasLibrary && hasGroup);
    EXPECT_GT(counts[1], 0);
    for (const std::string& name : used) EXPECT_TRUE(materials.count(name)) << name;
    for (const std::string& corner : corners) {
        std::istringstream fields(corner);
        std::string field;
        for (int slot = 0; slot < 3 && std::getline(fields, field, '/'); ++slot) {
            if (field.empty()) continue;
            long index = std::stol(field);
            EXPECT_TRUE(index >= 1 && index <= counts[slot]) << corner;
        }
    }
}

// Decodes the whole file with sox and returns its length in seconds, -1 on failure.
double decodedSeconds(const fs::path& path) {
    std::string command = "sox '" + path.string() + "' -n stat 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[256];
    double seconds = -1;
    while (fgets(buffer, sizeof buffer, pipe)) sscanf(buffer, "Length (seconds): %lf", &seconds);
    return pclose(pipe) == 0 ? seconds : -1;
}

}  // namespace

TEST(DataFiles, CommittedFilesAreWhatTheGeneratorMakes) {
    char pattern[] = "/tmp/gorvanka-data-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::path fresh = pattern;
    std::string command = "tools/generate_assets.py " + fresh.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::set<fs::path> made = filesUnder(fresh);
    EXPECT_EQ(made, filesUnder(kResources));
    for (const fs::path& file : made)
        EXPECT_TRUE(readFile(fresh / file) == readFile(kResources / file)) << file << " differs";
    fs::remove_all(fresh);
}

TEST(DataFiles, PicturesHaveTheHeadersTheReadersNeed) {
    for (const char* name : {"help", "gameover", "level1", "level2", "level3", "victory", "raygun",
                             "terrain1", "terrain2", "terrain3", "XN", "XP", "YN", "YP", "ZN", "ZP"})
        expectBmp(kResources / (std::string(name) + ".bmp"));
    expectTga(kResources / "vorlane.tga", {2, 3}, {8, 24, 32});
}

TEST(DataFiles, ModelsFindTheirMaterialsAndTextures) {
    for (const char* name : {"unicorn/body.obj", "unicorn/wheel.obj", "mushroom_red/mushroom.obj",
                             "mushroom_yellow/mushroom.obj", "ak47/ak47.obj", "vodka/vodka.obj",
                             "panelka2/panelka2.obj"})
        expectModel(kResources / "models" / name);
}

TEST(DataFiles, SoundsDecodeWithTheirLengths) {
    for (const char* name : {"katyusha", "redalert", "metal_ussr"}) {
        double seconds = decodedSeconds(kResources / "audio" / (std::string(name) + ".mp3"));
        EXPECT_TRUE(seconds >= 30 && seconds <= 90) << name << ": " << seconds;
    }
    for (const char* name : {"engineidle", "engineacc", "enginemaxspeed"}) {
        double seconds = decodedSeconds(kResources / "audio" / (std::string(name) + ".mp3"));
        EXPECT_TRUE(seconds >= 0.5 && seconds <= 5) << name << ": " << seconds;
    }
}
