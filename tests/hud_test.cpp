#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <string>

#include "hud/hud.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/levels.h"

namespace {

TEST(FrameRateText, SpellsTheRateInCapitalWords) {
    const struct {
        int rate;
        const char* text;
    } cases[] = {
        {62, "FPS: SIXTYTWO"},  {60, "FPS: SIXTY"},    {7, "FPS: SEVEN"},
        {100, "FPS: "},         {123, "FPS: THREE"},   {45, "FPS: FOURTYFIVE"},
        {99, "FPS: NINTYNINE"}, {21, "FPS: TWENTYONE"}, {10, "FPS: TEN"},
        {11, "FPS: ELEVEN"},    {15, "FPS: FIFTEEN"},  {19, "FPS: NINETEEN"},
        {118, "FPS: EIGHT"},    {-3, "FPS: "},
    };
    for (const auto& c : cases) EXPECT_EQ(frameRateText(c.rate), c.text) << c.rate;
}

// Each call is one frame of the overlay; the test plays the frame's road-limit
// tests and the Home key around it.
class LevelFlowTest : public testing::Test {
protected:
    void SetUp() override { putOnBanner(1); }

    void TearDown() override { putOnBanner(1); }

    static void putOnBanner(int number) {
        levelNumber = number;
        levelIntroVisible = true;
        startRequested = restartRequested = gameOver = levelComplete = false;
    }

    static void pressHome() { onSpecialKey(GLUT_KEY_HOME, 0, 0); }

    static void expectScreen(HudScreen screen, bool gameOverPicture, int banner, bool start) {
        EXPECT_EQ(screen.gameOverPicture, gameOverPicture);
        EXPECT_EQ(screen.bannerLevel, banner);
        EXPECT_EQ(screen.startLevelNow, start);
    }

    // Confirms the banner that is up and checks the level starts in that frame.
    static void startShownLevel(int number) {
        pressHome();
        expectScreen(stepLevelFlow(), false, number, true);
        EXPECT_FALSE(levelIntroVisible);
        expectScreen(stepLevelFlow(), false, 0, false);
    }
};

TEST_F(LevelFlowTest, BannerWaitsForHomeThenTheLevelStarts) {
    for (int frame = 0; frame < 3; ++frame) expectScreen(stepLevelFlow(), false, 1, false);
    EXPECT_TRUE(levelIntroVisible);
    startShownLevel(1);
    pressHome();  // Home during play asks for nothing
    expectScreen(stepLevelFlow(), false, 0, false);
    EXPECT_EQ(levelNumber, 1);
}

TEST_F(LevelFlowTest, EachWinShowsTheNextBannerOnceAndTheFourthIsVictory) {
    startShownLevel(1);
    for (int won = 1; won <= 3; ++won) {
        SCOPED_TRACE(won);
        levelComplete = true;  // the camera crossed the end line
        expectScreen(stepLevelFlow(), false, 0, false);
        EXPECT_EQ(levelNumber, won + 1);
        for (int frame = 0; frame < 3; ++frame) {
            levelComplete = true;  // still beyond the line while the banner is up
            expectScreen(stepLevelFlow(), false, won + 1, false);
        }
        EXPECT_EQ(levelNumber, won + 1);
        EXPECT_FALSE(levelComplete);
        startShownLevel(won + 1);
    }
    EXPECT_EQ(levelNumber, 4);
}

TEST_F(LevelFlowTest, HomeOnGameOverShowsTheFirstBannerInTheSameFrame) {
    putOnBanner(2);
    startShownLevel(2);
    gameOver = true;  // left the road
    for (int frame = 0; frame < 3; ++frame) expectScreen(stepLevelFlow(), true, 0, false);
    EXPECT_EQ(levelNumber, 2);
    pressHome();
    EXPECT_TRUE(restartRequested);
    expectScreen(stepLevelFlow(), true, 1, false);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_FALSE(gameOver);
    EXPECT_FALSE(restartRequested);
    gameOver = true;  // still off the road: the banner covers the picture and stays
    expectScreen(stepLevelFlow(), true, 1, false);
    EXPECT_FALSE(gameOver);
    startShownLevel(1);
}

TEST_F(LevelFlowTest, CrossingTheEndLineAfterLeavingTheRoadIsStillALoss) {
    startShownLevel(1);
    gameOver = levelComplete = true;
    for (int frame = 0; frame < 3; ++frame) {
        levelComplete = true;  // driving on past the line under the game-over picture
        expectScreen(stepLevelFlow(), true, 0, false);
        EXPECT_EQ(levelNumber, 1);
    }
    levelComplete = true;
    pressHome();
    expectScreen(stepLevelFlow(), true, 1, false);
    EXPECT_FALSE(gameOver);
    EXPECT_FALSE(levelComplete);
    startShownLevel(1);
}

}  // namespace
