// Vector helpers and the shader-source reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "player/vec3.h"
#include "shell/shader_program.h"

TEST(Vec3, NormalizeAndCross) {
    Vec3 unit = normalize({3, 4, 0});
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.y, 0.8f);
    EXPECT_FLOAT_EQ(unit.z, 0.0f);
    Vec3 zero = normalize({0, 0, 0});
    EXPECT_TRUE(zero.x == 0 && zero.y == 0 && zero.z == 0) << "a zero vector stays zero, not NaN";
    Vec3 product = cross({1, 2, 3}, {4, 5, 6});
    EXPECT_TRUE(product.x == -3 && product.y == 6 && product.z == -3);
}

TEST(ReadTextFile, YieldsNullForNullMissingEmptyAndDirectoryAndTheWholeTextOtherwise) {
    std::string path = ::testing::TempDir() + "gorvanka_text_" + std::to_string(getpid());
    for (const char* missing : {static_cast<const char*>(nullptr), "/nonexistent/gorvanka.vert", "/tmp"})
        EXPECT_EQ(readTextFile(missing), nullptr) << (missing ? missing : "null");
    for (std::string content : {"", "void main() {}\n", "a\r\nb\r\n"}) {
        std::ofstream(path, std::ios::binary) << content;
        char* text = readTextFile(path.c_str());
        EXPECT_EQ(text ? std::string(text) : "(null)", content.empty() ? "(null)" : content);
        std::free(text);
    }
    std::remove(path.c_str());
}
