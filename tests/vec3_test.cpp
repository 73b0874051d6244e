// Vector helpers and the shader-source reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "player/vec3.h"
#include "shell/shader_program.h"

TEST(Vec3, NormalizeLeavesZeroAloneAndCrossKeepsEachTerm) {
    const Vec3 unit = normalize({3, 4, 0}), zero = normalize({0, 0, 0}), product = cross({1, 2, 3}, {4, 5, 6});
    EXPECT_TRUE(std::abs(unit.x - 0.6f) < 1e-6f && std::abs(unit.y - 0.8f) < 1e-6f && unit.z == 0);
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0) << "a zero vector stays zero, not NaN";
    EXPECT_TRUE(product.x == -3 && product.y == 6 && product.z == -3);
}

TEST(ReadTextFile, YieldsNullForMissingEmptyAndDirectoryAndTheWholeTextOtherwise) {
    const std::string path = testing::TempDir() + "vec3_test_shader.txt";
    for (const char* missing : {"/nonexistent/gorvanka.vert", "/tmp"}) EXPECT_EQ(readTextFile(missing), nullptr);
    for (std::string content : {"", "a\r\nb\r\n"}) {
        std::ofstream(path, std::ios::binary) << content;
        char* text = readTextFile(path.c_str());
        EXPECT_EQ(text ? std::string(text) : "(null)", content.empty() ? "(null)" : content);
        std::free(text);
    }
}
