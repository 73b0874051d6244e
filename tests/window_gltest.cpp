// What needs the real game in a real window: full screen on a screen larger
// than the game's design size, the start-up lines, real X key and mouse
// events, a missing shader source, and Esc.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "tests/support/game_harness.h"

namespace {

const char* const kFire = "IMA CHARGIN MAH LAZERS!\n";

void quitOnEsc(GameRun& game) {
    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}

void screenSize(int* width, int* height) {
    FILE* pipe = popen("xdotool getdisplaygeometry", "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(fscanf(pipe, "%d %d", width, height), 2);
    pclose(pipe);
}

}  // namespace

TEST(Window, FullScreenStartUpLinesRealEventsAndEsc) {
    GameRun game;
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForOutput("Linking shaders"));
    std::string output = game.output();
    size_t at = 0;
    for (const char* line : {"Terrain Loaded\n", "Ready for OpenGL 1.2\n", "Vendor: ", "\nRenderer: ",
                             "\nVersion: ", "\nGLSL: ", "\nLoading shaders\n", "Compiling shaders\n"}) {
        at = output.find(line, at);
        ASSERT_NE(at, std::string::npos) << "\"" << line << "\" missing or out of order in:\n" << output;
    }
    game.key("F4");
    ASSERT_TRUE(game.waitForOutput("Switched to bilinear texture sampling\n"));
    int width = 0, height = 0, screenWidth = 0, screenHeight = 0;
    screenSize(&screenWidth, &screenHeight);
    ASSERT_GT(screenWidth * screenHeight, 1420 * 800) << "the test screen must be larger than the window's design size";
    ASSERT_TRUE(game.windowSize(&width, &height));
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(height, screenHeight);
    // Held past the keyboard's repeat delay, space still fires once; a second press fires again.
    game.keyDown("space");
    ASSERT_TRUE(game.waitForOutput(kFire));
    waitSeconds(1.5);
    game.keyUp("space");
    game.key("space");
    ASSERT_TRUE(game.waitForOutput(kFire, 2));
    game.click(1);
    ASSERT_TRUE(game.waitForOutput(kFire, 3));
    EXPECT_EQ(game.outputCount(kFire), 3);
    quitOnEsc(game);
}

TEST(Window, MissingShaderSourceDrawsWithoutShaders) {
    std::string dir = makeGameDirectory();
    std::remove((dir + "/shaders/gorvanka.frag").c_str());
    GameRun game({}, dir);
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForOutput("Cannot read shader source shaders/gorvanka.frag"));
    game.key("F9");
    ASSERT_TRUE(game.waitForOutput("Transparancy off\n")) << "it runs on";
    EXPECT_EQ(game.outputCount("Compiling shaders"), 0);
    quitOnEsc(game);
}
