#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

#include "hud/hud.h"
#include "shell/game_flow.h"
#include "world/levels.h"

TEST(FrameRateText, SpellsTheRateInCapitalWords) {
    const std::pair<int, const char*> cases[] = {
        {62, "FPS: SIXTYTWO"}, {60, "FPS: SIXTY"},     {7, "FPS: SEVEN"},     {100, "FPS: "},    {123, "FPS: THREE"},
        {45, "FPS: FOURTYFIVE"}, {99, "FPS: NINTYNINE"}, {10, "FPS: TEN"}, {19, "FPS: NINETEEN"}, {-3, "FPS: "}};
    for (const auto& [rate, text] : cases) EXPECT_EQ(frameRateText(rate), text) << rate;
}

// One overlay frame per step, after what happened since the last: nothing, Home, the end line
// reached (won), or that and the road left (both). Leaving the road is a loss even past the end line,
// and Home then restarts at level 1; the playthrough goes through the rest.
TEST(LevelFlow, LeavingTheRoadPastTheEndLineLosesAndHomeRestarts) {
    levelNumber = 1;
    levelIntroVisible = true;
    startRequested = restartRequested = gameOver = levelComplete = false;
    const std::optional<int> none;
    const struct { const char* event; bool gameOverPicture; std::optional<int> banner; bool start; int level; } steps[] = {
        {"home", false, 1, true, 1}, {"", false, none, false, 1}, {"won", false, none, false, 2},
        {"home", false, 2, true, 2}, {"both", true, none, false, 2}, {"won", true, none, false, 2},
        {"home", true, 1, false, 1}, {"home", false, 1, true, 1}};
    for (const auto& step : steps) {
        const std::string event = step.event;
        if (event == "home") {  // what the Home key asks for
            startRequested = levelIntroVisible;
            restartRequested = gameOver;
        }
        if (event == "won" || event == "both") levelComplete = true;
        if (event == "both") gameOver = true;
        const HudScreen s = stepLevelFlow();
        EXPECT_EQ(std::make_tuple(s.gameOverPicture, s.bannerLevel, s.startLevelNow, levelNumber),
                  std::make_tuple(step.gameOverPicture, step.banner, step.start, step.level))
            << "step " << &step - steps;
    }
    levelNumber = 1;
}
