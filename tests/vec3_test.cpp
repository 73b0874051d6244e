// Vector helpers and the shader-source reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "player/vec3.h"
#include "shell/startup.h"

TEST(Vec3, NormalizeAndCross) {
    Vec3 unit = normalize({3, 4, 0});
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.y, 0.8f);
    EXPECT_FLOAT_EQ(unit.z, 0.0f);

    Vec3 zero = normalize({0, 0, 0});
    EXPECT_EQ(zero.x + zero.y + zero.z, 0);
    EXPECT_FALSE(std::isnan(zero.x));

    // The starting view and up give the starting right vector.
    Vec3 right = cross({0, -0.4f, -1}, {0, 1, 0});
    EXPECT_FLOAT_EQ(right.x, 1);
    EXPECT_FLOAT_EQ(right.y + right.z, 0);
}

namespace {

std::string writeTemporary(const std::string& content) {
    char pattern[] = "/tmp/gorvanka-text-XXXXXX";
    int fd = mkstemp(pattern);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, content.data(), content.size()), ssize_t(content.size()));
    close(fd);
    return pattern;
}

}  // namespace

TEST(ReadTextFile, YieldsNullForNullMissingEmptyAndDirectory) {
    EXPECT_EQ(readTextFile(nullptr), nullptr);
    EXPECT_EQ(readTextFile("/nonexistent/gorvanka.vert"), nullptr);
    std::string empty = writeTemporary("");
    EXPECT_EQ(readTextFile(empty.c_str()), nullptr);
    std::remove(empty.c_str());
    EXPECT_EQ(readTextFile("/tmp"), nullptr);
}

TEST(ReadTextFile, ReturnsTheWholeTextTerminated) {
    for (std::string content : {std::string("void main() {}\n"), std::string("a\r\nb\r\n")}) {
        std::string path = writeTemporary(content);
        char* text = readTextFile(path.c_str());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text), content);
        std::free(text);
        std::remove(path.c_str());
    }
}
