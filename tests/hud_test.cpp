// The overlay's read-out, a loss past the end line, and the never-seeded random sequence of the level fields.
#include <gtest/gtest.h>

#include <optional>

#include "hud/hud.h"
#include "shell/game_flow.h"
#include "world/levels.h"

TEST(FrameRateText, SpellsTheRateInCapitalWords) {
    const std::pair<int, const char*> cases[] = {{62, "FPS: SIXTYTWO"}, {60, "FPS: SIXTY"}, {7, "FPS: SEVEN"},
        {100, "FPS: "}, {123, "FPS: THREE"}, {45, "FPS: FOURTYFIVE"}, {99, "FPS: NINTYNINE"}, {10, "FPS: TEN"},
        {19, "FPS: NINETEEN"}, {-3, "FPS: "}};
    for (const auto& [rate, text] : cases) EXPECT_EQ(frameRateText(rate), text) << rate;
}

// Leaving the road is a loss even past the end line: the game-over picture stays, and Home restarts at level 1.
TEST(LevelFlow, LeavingTheRoadPastTheEndLineLosesAndHomeRestarts) {
    levelNumber = 2;
    startRequested = restartRequested = levelIntroVisible = false;
    gameOver = levelComplete = true;
    const struct { bool home, gameOverPicture; std::optional<int> banner; bool start; int level; } steps[] = {
        {false, true, std::nullopt, false, 2}, {true, true, 1, false, 1}, {true, false, 1, true, 1}};
    for (const auto& step : steps) {
        restartRequested = step.home && gameOver;  // what the Home key asks for
        startRequested = step.home && levelIntroVisible;
        const HudScreen s = stepLevelFlow();
        EXPECT_EQ(std::make_tuple(s.gameOverPicture, s.bannerLevel, s.startLevelNow, levelNumber),
                  std::make_tuple(step.gameOverPicture, step.banner, step.start, step.level));
    }
    levelNumber = 1;
}

TEST(Random, FollowsTheSameSequenceOnEveryRun) {
    randomState = 1;
    for (int value : {16838, 5758, 10113, 17515, 31051}) EXPECT_EQ(randomInRange(0, 32767), value);
}
