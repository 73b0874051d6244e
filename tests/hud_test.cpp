#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <tuple>
#include <utility>

#include "hud/hud.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/levels.h"

namespace {

TEST(FrameRateText, SpellsTheRateInCapitalWords) {
    const std::pair<int, const char*> cases[] = {
        {62, "FPS: SIXTYTWO"},  {60, "FPS: SIXTY"},     {7, "FPS: SEVEN"},      {100, "FPS: "},
        {123, "FPS: THREE"},    {45, "FPS: FOURTYFIVE"}, {99, "FPS: NINTYNINE"}, {10, "FPS: TEN"},
        {11, "FPS: ELEVEN"},    {15, "FPS: FIFTEEN"},   {19, "FPS: NINETEEN"},  {118, "FPS: EIGHT"},
        {-3, "FPS: "},
    };
    for (const auto& [rate, text] : cases) EXPECT_EQ(frameRateText(rate), text) << rate;
}

// Each stepLevelFlow() call is one frame of the overlay.
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

    static void expectFrame(bool gameOverPicture, int banner, bool start = false) {
        const HudScreen s = stepLevelFlow();
        EXPECT_EQ(std::make_tuple(s.gameOverPicture, s.bannerLevel, s.startLevelNow),
                  std::make_tuple(gameOverPicture, banner, start));
    }

    // Confirms the banner that is up and checks the level starts in that frame.
    static void startShownLevel(int number) {
        pressHome();
        expectFrame(false, number, true);
        EXPECT_FALSE(levelIntroVisible);
        expectFrame(false, 0);
    }
};

TEST_F(LevelFlowTest, BannersWaitForHomeEachWinShowsTheNextOnceAndTheFourthIsVictory) {
    for (int frame = 0; frame < 3; ++frame) expectFrame(false, 1);
    startShownLevel(1);
    pressHome();  // Home during play asks for nothing
    expectFrame(false, 0);
    for (int won = 1; won <= 3; ++won) {
        SCOPED_TRACE(won);
        levelComplete = true;
        expectFrame(false, 0);
        EXPECT_EQ(levelNumber, won + 1);
        for (int frame = 0; frame < 3; ++frame) {
            levelComplete = true;  // still beyond the end line while the banner is up
            expectFrame(false, won + 1);
        }
        EXPECT_TRUE(levelNumber == won + 1 && !levelComplete);
        startShownLevel(won + 1);
    }
}

// Leaving the road is a loss even when the vehicle drives on past the end line.
TEST_F(LevelFlowTest, HomeOnGameOverShowsTheFirstBannerInTheSameFrame) {
    putOnBanner(2);
    startShownLevel(2);
    gameOver = true;
    for (int frame = 0; frame < 3; ++frame) {
        levelComplete = true;
        expectFrame(true, 0);
        EXPECT_EQ(levelNumber, 2);
    }
    levelComplete = true;
    pressHome();
    EXPECT_TRUE(restartRequested);
    expectFrame(true, 1);
    EXPECT_TRUE(levelNumber == 1 && !gameOver && !levelComplete && !restartRequested);
    gameOver = true;  // still off the road: the banner covers the picture and stays
    expectFrame(true, 1);
    EXPECT_FALSE(gameOver);
    startShownLevel(1);
}

}  // namespace
