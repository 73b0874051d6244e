// The committed data files are exactly what the generator makes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

// Every file under root, by its path below root, with its bytes.
std::map<fs::path, std::string> filesUnder(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::ifstream in(entry.path(), std::ios::binary);
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root)] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
}

TEST(DataFiles, CommittedFilesAreWhatTheGeneratorMakes) {
    char fresh[] = "/tmp/gorvanka-data-XXXXXX";
    ASSERT_NE(mkdtemp(fresh), nullptr);
    ASSERT_EQ(std::system(("tools/generate_assets.py " + std::string(fresh)).c_str()), 0);
    std::map<fs::path, std::string> made = filesUnder(fresh), committed = filesUnder("resources");
    fs::remove_all(fresh);
    EXPECT_EQ(made.size(), committed.size());
    for (const auto& [name, bytes] : made) EXPECT_TRUE(committed[name] == bytes) << name << " differs";
}
