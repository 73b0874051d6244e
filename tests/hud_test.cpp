// The overlay's read-out and level flow, and the never-seeded random sequence the level fields come from.
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

// One overlay frame per step after an event: Home, the end line reached (won), or that and the road
// left (both). Leaving the road is a loss even past the end line, and Home then restarts at level 1.
TEST(LevelFlow, LeavingTheRoadPastTheEndLineLosesAndHomeRestarts) {
    levelNumber = 1;
    levelIntroVisible = true;
    startRequested = restartRequested = gameOver = levelComplete = false;
    const std::optional<int> none;
    const struct { std::string event; bool gameOverPicture; std::optional<int> banner; bool start; int level; } steps[] = {
        {"home", false, 1, true, 1}, {"", false, none, false, 1}, {"won", false, none, false, 2},
        {"home", false, 2, true, 2}, {"both", true, none, false, 2}, {"won", true, none, false, 2},
        {"home", true, 1, false, 1}, {"home", false, 1, true, 1}};
    for (const auto& step : steps) {
        startRequested = step.event == "home" && levelIntroVisible;  // what the Home key asks for
        restartRequested = step.event == "home" && gameOver;
        levelComplete = levelComplete || step.event == "won" || step.event == "both";
        gameOver = gameOver || step.event == "both";
        const HudScreen s = stepLevelFlow();
        EXPECT_EQ(std::make_tuple(s.gameOverPicture, s.bannerLevel, s.startLevelNow, levelNumber),
                  std::make_tuple(step.gameOverPicture, step.banner, step.start, step.level)) << step.event;
    }
    levelNumber = 1;
}

TEST(Random, FollowsTheSameSequenceOnEveryRun) {
    randomState = 1;
    for (int value : {16838, 5758, 10113, 17515, 31051}) EXPECT_EQ(randomInRange(0, 32767), value);
}
