// End to end: the real game starts, reports its GL identity and shader build,
// survives a missing shader source, and quits on Esc.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "shell/game_flow.h"
#include "shell/shader_program.h"
#include "tests/support/gl_context.h"
#include "tests/support/game_harness.h"

namespace {

void quitOnEsc(GameRun& game) {
    EXPECT_TRUE(game.running());
    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}

}  // namespace

TEST(Startup, OpensFullScreenReportsGlAndShadersAndQuitsOnEsc) {
    GameRun game;
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForOutput("Linking shaders"));
    std::string output = game.output();
    size_t at = 0;
    for (const char* line : {"Ready for OpenGL 1.2\n", "Vendor: ", "\nRenderer: ", "\nVersion: ", "\nGLSL: ",
                             "\nLoading shaders\n", "Compiling shaders\n", "Linking shaders\n"}) {
        at = output.find(line, at);
        ASSERT_NE(at, std::string::npos) << "\"" << line << "\" missing or out of order in:\n" << output;
    }
    EXPECT_EQ(output.find("Cannot read shader source"), std::string::npos);
    int width = 0, height = 0;
    ASSERT_TRUE(game.windowSize(&width, &height));
    EXPECT_EQ(width, 1420);
    EXPECT_EQ(height, 800);
    quitOnEsc(game);
}

TEST(Startup, MissingOrEmptyShaderSourceFallsBackToFixedFunction) {
    // A band across the top of the first screen (the level banner over the sky) is
    // drawn without the vehicle, so the shaders do not change it.
    auto topBand = [](const Screenshot& shot) { return shot.regionMean(0, 0, shot.width, 40); };
    Rgb expected;
    {
        GameRun game;
        ASSERT_TRUE(game.waitForWindow());
        ASSERT_TRUE(game.waitForOutput("Linking shaders"));
        expected = topBand(waitForSteadyScreen());
    }
    for (auto [file, empty] : {std::pair{"gorvanka.vert", false}, {"gorvanka.frag", false}, {"gorvanka.frag", true}}) {
        SCOPED_TRACE(file);
        std::string dir = makeGameDirectory(), path = dir + "/shaders/" + file;
        if (empty) std::fclose(std::fopen(path.c_str(), "w"));
        else std::remove(path.c_str());
        GameRun game({}, dir);
        ASSERT_TRUE(game.waitForWindow());
        ASSERT_TRUE(game.waitForOutput(std::string("Cannot read shader source shaders/") + file));
        EXPECT_EQ(game.output().find("Compiling shaders"), std::string::npos);

        // It keeps drawing frames: the first screen looks as it does with the shaders.
        Screenshot shot = waitForSteadyScreen();
        ASSERT_GT(shot.width, 0);
        Rgb seen = topBand(shot);
        EXPECT_NEAR(seen.r, expected.r, 12);
        EXPECT_NEAR(seen.g, expected.g, 12);
        EXPECT_NEAR(seen.b, expected.b, 12);
        quitOnEsc(game);
    }
}

// Last in this file: it opens a small GL window of the test's own.
TEST(Startup, ShaderSourcesCompileAndLink) {
    ensureGlContext();
    buildShaderProgram();
    ASSERT_NE(shaderProgram, 0u);
    GLint compiledVertex = GL_FALSE, compiledFragment = GL_FALSE, linked = GL_FALSE;
    glGetShaderiv(vertexShader, GL_COMPILE_STATUS, &compiledVertex);
    glGetShaderiv(fragmentShader, GL_COMPILE_STATUS, &compiledFragment);
    glGetProgramiv(shaderProgram, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(compiledVertex == GL_TRUE && compiledFragment == GL_TRUE && linked == GL_TRUE);
    useShaderProgram(0);
}
