// End to end through real X events: the toggles' messages, firing, driving,
// and leaving the road.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <string>
#include <utility>

#include "player/player.h"
#include "shell/input.h"
#include "tests/support/game_harness.h"
#include "tests/support/gl_context.h"

namespace {

const char* const kFire = "IMA CHARGIN MAH LAZERS!\n";
const char* const kEmpty = "Out of ammobbb\n";

void startGame(GameRun& game) {
    ASSERT_TRUE(game.waitForWindow());
    ASSERT_TRUE(game.waitForOutput("Linking shaders"));
    waitSeconds(0.5);  // the sounds load and the main loop begins
}

// Presses a key and expects exactly the line it should print next.
void expectKeyPrints(GameRun& game, const std::string& key, const std::string& line) {
    size_t from = game.output().size();
    game.key(key);
    ASSERT_TRUE(game.waitForOutput(line + "\n", 5, from)) << "after " << key;
    EXPECT_EQ(game.output().substr(from), line + "\n") << "after " << key;
}

}  // namespace

TEST(Input, FunctionKeysPrintTheirMessagesOnSuccessivePresses) {
    GameRun game;
    startGame(game);
    for (const auto& [key, line] : std::initializer_list<std::pair<const char*, const char*>>{
             {"F4", "Switched to bilinear texture sampling"}, {"F4", "Switched to nearest neighbor texture sampling"},
             {"F5", "Mipmapping is off"}, {"F5", "Mipmapping is nearest neighbor"}, {"F5", "Mipmapping is linear"},
             {"F5", "Mipmapping is off"}, {"F8", "Frustum Culling off"}, {"F8", "Frustum Culling on"},
             {"F9", "Transparancy off"}, {"F9", "Transparancy on"}})
        expectKeyPrints(game, key, line);

    // The silent toggles and the unused keys print nothing: the next line after them is the F9 message alone.
    for (const char* key : {"F1", "F1", "F2", "F2", "F3", "F3", "F6", "F6", "F7", "F10", "F12", "Up", "Prior", "End",
                            "Insert", "W", "x"})
        game.key(key);
    expectKeyPrints(game, "F9", "Transparancy off");
    EXPECT_TRUE(game.running());
}

// Each press waits for its line, so that a slow game still sees separate presses.
TEST(Input, SpaceAndLeftButtonFireOneChargeEachUntilEmpty) {
    GameRun game;
    startGame(game);
    game.key("space");
    ASSERT_TRUE(game.waitForOutputCount(kFire, 1));
    game.click(1);
    ASSERT_TRUE(game.waitForOutputCount(kFire, 2));
    // A held space bar fires once: key repeat does not reach the game.
    game.keyDown("space");
    waitSeconds(1.5);
    game.keyUp("space");
    game.click(3);  // the right button boosts, it does not fire
    game.click(1);
    ASSERT_TRUE(game.waitForOutputCount(kFire, 4));
    game.key("space");
    ASSERT_TRUE(game.waitForOutputCount(kFire, 5));
    waitSeconds(1);
    EXPECT_EQ(game.outputCount(kFire), 5) << game.output();
    EXPECT_EQ(game.outputCount(kEmpty), 0);
    game.key("space");
    ASSERT_TRUE(game.waitForOutputCount(kEmpty, 1));
    game.click(1);
    ASSERT_TRUE(game.waitForOutputCount(kEmpty, 2));
    EXPECT_EQ(game.outputCount(kFire), 5);
}

TEST(Input, DrivingMovesTheViewAndLeavingTheRoadEndsTheGame) {
    GameRun game;
    startGame(game);
    Screenshot banner = waitForSteadyScreen();
    game.key("Home");  // start level 1 from its banner
    waitForScreenChange(banner);
    Screenshot standing = waitForSteadyScreen();
    game.keyDown("w");
    waitSeconds(2);
    Screenshot driving = waitForScreenChange(standing);
    EXPECT_GT(meanDifference(standing, driving), 1.0) << "holding w did not move the view";

    // Swing left, then keep going until the screen holds still under the
    // still-held forward key: only the game-over picture covers a moving scene.
    game.keyDown("a");
    waitSeconds(3);
    game.keyUp("a");
    Screenshot gameOver = waitForSteadyScreen(60);
    EXPECT_GT(meanDifference(driving, gameOver), 1.0);
    game.keyUp("w");
    EXPECT_TRUE(game.running());

    game.key("Home");  // back to the level 1 banner
    waitForScreenChange(gameOver);
    game.key("Escape");
    ASSERT_TRUE(game.waitForExit());
    EXPECT_EQ(game.exitStatus(), 0);
}

// Last in this file: these call the callbacks directly, in a GL window of the test's own.
TEST(Input, DrivingKeysLetGoInEitherCaseButPressOnlyInLowerCase) {
    keys = KeyState{};
    auto anyHeld = [] { return keys.forward || keys.left || keys.backward || keys.right; };
    for (unsigned char key : {'w', 'a', 's', 'd'}) onKeyDown(key, 0, 0);
    EXPECT_TRUE(keys.forward && keys.left && keys.backward && keys.right);
    for (unsigned char key : {'W', 'A', 'S', 'D'}) onKeyUp(key, 0, 0);
    EXPECT_FALSE(anyHeld());
    for (unsigned char key : {'W', 'A', 'S', 'D'}) onKeyDown(key, 0, 0);
    EXPECT_FALSE(anyHeld());
}

TEST(Input, RepeatReleaseAndPressInOnePassDoesNotFire) {
    player.ammo = 3;
    onKeyDown(' ', 0, 0);
    endInputPass();
    onKeyUp(' ', 0, 0);  // a late repeat: release and press in one batch
    onKeyDown(' ', 0, 0);
    EXPECT_EQ(player.ammo, 2);
    onKeyUp(' ', 0, 0);
    endInputPass();
    onKeyDown(' ', 0, 0);
    EXPECT_EQ(player.ammo, 1);
}

TEST(Input, MipmappingOffLeavesTheFilterThatFilteringNames) {
    ensureGlContext();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    auto minFilter = [] {
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        return filter;
    };
    renderOptions = RenderOptions{};
    onSpecialKey(GLUT_KEY_F5, 0, 0);
    EXPECT_EQ(minFilter(), GL_NEAREST);
    onSpecialKey(GLUT_KEY_F4, 0, 0);  // bilinear
    for (GLint expected : {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}) {
        onSpecialKey(GLUT_KEY_F5, 0, 0);
        EXPECT_EQ(minFilter(), expected);
    }
    glDeleteTextures(1, &texture);
}
