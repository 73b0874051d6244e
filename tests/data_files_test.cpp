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

#include "assets/bmp_reader.h"
#include "assets/tga_reader.h"

namespace fs = std::filesystem;

namespace {

const fs::path kResources = "resources";

std::vector<char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<fs::path> filesUnder(const fs::path& root) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root));
    return files;
}

// Each statement's first word with the rest of its line, blanks before it dropped.
std::vector<std::pair<std::string, std::string>> statements(const fs::path& path) {
    std::vector<std::pair<std::string, std::string>> all;
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << path;
    for (std::string line, word, rest; std::getline(in, line);) {
        std::istringstream words(line);
        words >> word >> std::ws;
        std::getline(words, rest);
        all.emplace_back(word, rest);
    }
    return all;
}

// The model has a library, groups and texture coordinates, uses only materials its
// library defines, and every texture that library names reads as a model texture.
void expectModel(const fs::path& path) {
    SCOPED_TRACE(path.string());
    std::set<std::string> seen, materials, used;
    for (const auto& [word, rest] : statements(path)) {
        seen.insert(word);
        if (word == "usemtl") used.insert(rest);
        if (word != "mtllib") continue;
        for (const auto& [mtlWord, value] : statements(path.parent_path() / rest)) {
            TextureImage texture{};
            if (mtlWord == "newmtl") materials.insert(value);
            if (mtlWord != "map_Kd") continue;
            EXPECT_TRUE(loadTgaTexture((path.parent_path() / value).c_str(), &texture)) << value;
        }
    }
    for (const char* word : {"mtllib", "g", "vt"}) EXPECT_TRUE(seen.count(word)) << word;
    for (const std::string& name : used) EXPECT_TRUE(materials.count(name)) << name;
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
    ASSERT_EQ(std::system(("tools/generate_assets.py " + fresh.string()).c_str()), 0);
    std::set<fs::path> made = filesUnder(fresh);
    EXPECT_EQ(made, filesUnder(kResources));
    for (const fs::path& file : made)
        EXPECT_TRUE(readFile(fresh / file) == readFile(kResources / file)) << file << " differs";
    fs::remove_all(fresh);
}

TEST(DataFiles, PicturesReadWithTheirSizes) {
    for (const char* name : {"help", "gameover", "level1", "level2", "level3", "victory", "raygun",
                             "terrain1", "terrain2", "terrain3", "XN", "XP", "YN", "YP", "ZN", "ZP"}) {
        auto image = loadBmp((kResources / (std::string(name) + ".bmp")).c_str());
        EXPECT_GT(image->width, 0) << name;
        EXPECT_EQ(image->pixels.size(), size_t(image->width) * image->height * 3) << name;
    }
    auto terrain = loadTerrainTga((kResources / "vorlane.tga").c_str());
    EXPECT_EQ(terrain->status, 0);
    EXPECT_GT(terrain->width, 0);
}

TEST(DataFiles, ModelsFindTheirMaterialsAndTextures) {
    for (const char* name : {"unicorn/body.obj", "unicorn/wheel.obj", "mushroom_red/mushroom.obj",
                             "mushroom_yellow/mushroom.obj", "ak47/ak47.obj", "vodka/vodka.obj",
                             "panelka2/panelka2.obj"})
        expectModel(kResources / "models" / name);
}

TEST(DataFiles, SoundsDecodeWithTheirLengths) {
    const std::pair<const char*, std::pair<double, double>> sounds[] = {{"katyusha", {30, 90}},
        {"redalert", {30, 90}}, {"metal_ussr", {30, 90}}, {"engineidle", {0.5, 5}}, {"engineacc", {0.5, 5}},
        {"enginemaxspeed", {0.5, 5}}};
    for (const auto& [name, range] : sounds) {
        double seconds = decodedSeconds(kResources / "audio" / (std::string(name) + ".mp3"));
        EXPECT_TRUE(seconds >= range.first && seconds <= range.second) << name << ": " << seconds;
    }
}
