// End to end: the real game starts, reports its GL identity and shader build,
// survives a missing shader source, and quits on Esc.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/game_flow.h"
#include "shell/startup.h"
#include "tests/support/gl_context.h"
#include "tests/support/game_harness.h"

namespace {

const int kScreenWidth = 1420;
const int kScreenHeight = 800;

// A band across the top of the first screen (the level banner over the sky):
// drawn without the vehicle, so the shaders do not change it.
Rgb topBand(const Screenshot& shot) {
    return shot.regionMean(0, 0, shot.width, 40);
}

void expectInOrder(const std::string& output, const std::vector<std::string>& lines) {
    size_t at = 0;
    for (const std::string& line : lines) {
        size_t found = output.find(line, at);
        ASSERT_NE(found, std::string::npos) << "\"" << line << "\" missing or out of order in:\n"
                                            << output;
        at = found + line.size();
    }
}

}  // namespace

TEST(Startup, OpensFullScreenReportsGlAndShadersAndQuitsOnEsc) {
    GameRun game;
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForOutput("Linking shaders"));
    expectInOrder(game.output(), {"Ready for OpenGL 1.2\n", "Vendor: ", "\nRenderer: ",
                                  "\nVersion: ", "\nGLSL: ", "\nLoading shaders\n",
                                  "Compiling shaders\n", "Linking shaders\n"});
    EXPECT_EQ(game.output().find("Cannot read shader source"), std::string::npos);

    int width = 0, height = 0;
    ASSERT_TRUE(game.windowSize(&width, &height));
    EXPECT_EQ(width, kScreenWidth);
    EXPECT_EQ(height, kScreenHeight);

    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}

TEST(Startup, MissingOrEmptyShaderSourceFallsBackToFixedFunction) {
    Screenshot withShaders;
    {
        GameRun game;
        ASSERT_TRUE(game.waitForWindow());
        ASSERT_TRUE(game.waitForOutput("Linking shaders"));
        withShaders = waitForSteadyScreen();
    }
    struct Damage {
        const char* file;
        bool emptyInsteadOfMissing;
    };
    for (Damage damage : {Damage{"gorvanka.vert", false}, Damage{"gorvanka.frag", false},
                          Damage{"gorvanka.frag", true}}) {
        SCOPED_TRACE(damage.file);
        std::string dir = makeGameDirectory();
        std::string path = dir + "/shaders/" + damage.file;
        if (damage.emptyInsteadOfMissing) {
            std::fclose(std::fopen(path.c_str(), "w"));
        } else {
            std::remove(path.c_str());
        }
        GameRun game({}, dir);
        ASSERT_TRUE(game.waitForWindow());
        ASSERT_TRUE(game.waitForOutput(std::string("Cannot read shader source shaders/") +
                                       damage.file));
        EXPECT_EQ(game.output().find("Compiling shaders"), std::string::npos);

        // It keeps drawing frames: the first screen looks as it does with the shaders.
        Screenshot shot = waitForSteadyScreen();
        ASSERT_GT(shot.width, 0);
        Rgb expected = topBand(withShaders);
        Rgb seen = topBand(shot);
        EXPECT_NEAR(seen.r, expected.r, 12);
        EXPECT_NEAR(seen.g, expected.g, 12);
        EXPECT_NEAR(seen.b, expected.b, 12);
        EXPECT_TRUE(game.running());

        game.key("Escape");
        ASSERT_TRUE(game.waitForExit());
        EXPECT_EQ(game.exitStatus(), 0);
    }
}

// Last in this file: it opens a small GL window of the test's own.
TEST(Startup, ShaderSourcesCompileAndLink) {
    ensureGlContext();
    buildShaderProgram();
    ASSERT_NE(shaderProgram, 0u);
    for (unsigned int shader : {vertexShader, fragmentShader}) {
        GLint compiled = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        EXPECT_EQ(compiled, GL_TRUE);
    }
    GLint linked = GL_FALSE;
    glGetProgramiv(shaderProgram, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    useShaderProgram(0);
}
