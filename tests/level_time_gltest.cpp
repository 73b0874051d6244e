// Holding 'w' from the level 1 banner wins it in the same game time, about 52 s, at 5 and at 240 frames a second; the
// game says it in one line and keeps the best in the records file. The playthrough sees it written on the banner.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "shell/game_flow.h"
#include "shell/records.h"
#include "tests/support/game_driver.h"
#include "world/levels.h"

TEST(LevelTime, TheSameAtEveryFrameRateAndKeptAsTheBest) {
    startDrivenGame();
    std::string said[2];
    for (int rate : {5, 240}) {
        levelNumber = 1;
        tapSpecialKey(GLUT_KEY_HOME);
        playFrames(1, 16);
        gameOutput();
        pressKey('w');  // passes at exact times, until the level is won and the next frame has moved the flow on
        for (long frame = 1; !levelIntroVisible && frame < rate * 90L; ++frame)
            playPass(uint32_t(frame * 1000 / rate - (frame - 1) * 1000 / rate), frame % (rate / 5 + 1) == 0);
        releaseKey('w');
        const std::string output = gameOutput();  // the pickups taken on the way, then the level's time
        said[rate == 240] = output.substr(std::min(output.find("Level 1"), output.size()));
    }
    EXPECT_EQ(said[0], said[1]);
    float seconds = 0;
    char best[16] = {};
    ASSERT_EQ(std::sscanf(said[0].c_str(), "Level 1 driven in %f s (best %15[0-9.]", &seconds, best), 2) << said[0];
    EXPECT_TRUE(seconds > 50 && seconds < 54) << said[0];
    std::ifstream file(recordsPath());
    const std::string records(std::istreambuf_iterator<char>(file), {});
    EXPECT_NE(records.find("level 1 " + std::string(best) + "\n"), std::string::npos) << records;
}
