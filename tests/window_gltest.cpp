// What needs the real game in a real window: full screen on a screen larger
// than the game's design size, the start-up lines, real X key and mouse
// events, a missing shader source, and Esc.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

// SDL's disk driver writes the mix as it plays: 16-bit samples at 44100 Hz.
bool soundHeard(const std::string& mixPath) {
    std::ifstream in(mixPath, std::ios::binary);
    int16_t sample = 0;
    int loud = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample) && loud < 4410) loud += std::abs(sample) > 1000;
    return loud >= 4410;
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

TEST(Window, MusicFromLaunchAndAMissingShaderSource) {
    std::string dir = makeGameDirectory(), mix = dir + "/mix.raw";
    std::remove((dir + "/shaders/gorvanka.frag").c_str());
    GameRun game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + mix}, dir);
    ASSERT_TRUE(game.waitForWindow());
    for (int tries = 0; tries < 1200 && !soundHeard(mix); ++tries) waitSeconds(0.1);
    EXPECT_TRUE(soundHeard(mix)) << "no music on the disk driver";
    ASSERT_TRUE(game.waitForOutput("Cannot read shader source shaders/gorvanka.frag"));
    game.key("F9");
    ASSERT_TRUE(game.waitForOutput("Transparancy off\n")) << "it runs on";
    EXPECT_EQ(game.outputCount("Compiling shaders"), 0);
    quitOnEsc(game);
}
