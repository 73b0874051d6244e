#include "shell/game_flow.h"

#include "audio/sounds.h"
#include "platform/messages.h"
#include "shell/frame_pose.h"
#include "shell/records.h"
#include "world/levels.h"

bool levelIntroVisible = true;
bool startRequested;
bool restartRequested;
bool gameOver;
bool levelComplete;

namespace {

uint32_t msPlayed;     // of the level in play, up to the step that reached the end line
std::string lastWin;  // written on the banners after it, until the next level starts

// The time counts towards the records; says so, and returns the banner's line,
// e.g. "LEVEL 1  TIME 52.13  BEST 51.02".
std::string recordWin(int level) {
    const std::string time = secondsText(hundredthsOf(msPlayed));
    const std::string best = secondsText(recordLevelTime(level, msPlayed));
    sayf("Level %d driven in %s s (best %s s)\n", level, time.c_str(), best.c_str());
    return "LEVEL " + std::to_string(level) + "  TIME " + time + "  BEST " + best;
}

}  // namespace

void countStepOfPlay(uint32_t stepMs) {
    if (!levelIntroVisible && !gameOver && !levelComplete) msPlayed += stepMs;
}

FlowScreen stepLevelFlow() {
    FlowScreen screen = {false, std::nullopt, false, std::nullopt};
    // Crossing the end line after leaving the road is still a loss, so Home restarts.
    if (gameOver && levelComplete) levelComplete = false;
    if (gameOver) {
        screen.gameOverPicture = true;
        if (restartRequested) {
            levelNumber = 1;
            levelIntroVisible = true;
            restartRequested = false;
        }
    }
    // A banner overrides whatever the road limits said while it is up.
    if (levelIntroVisible) {
        gameOver = false;
        levelComplete = false;
        screen.bannerLevel = levelNumber;
        if (startRequested) {
            levelIntroVisible = false;
            startRequested = false;
            screen.startLevelNow = true;
        }
    }
    if (levelComplete) {
        screen.wonLevel = levelNumber;
        levelNumber += 1;
        levelIntroVisible = true;
        levelComplete = false;
    }
    return screen;
}

// The frame that confirms a banner still shows it; play, and the meters, start
// with the next frame.
HudScreen advanceLevelFlow(int framesPerSecond) {
    const FlowScreen flow = stepLevelFlow();
    if (flow.wonLevel) lastWin = recordWin(*flow.wonLevel);
    if (flow.bannerLevel && *flow.bannerLevel <= kLevelCount) playOnlyLevelTrack(*flow.bannerLevel);
    if (flow.startLevelNow) {
        startLevel();
        rememberStepPose();  // the level starts from rest: no blend with the pose before it
        msPlayed = 0;
        lastWin.clear();
    }
    const bool playing = !gameOver && !levelComplete && !levelIntroVisible;
    const bool picture = flow.gameOverPicture || flow.bannerLevel;
    return {flow.gameOverPicture, flow.bannerLevel, lastWin, playing && !picture, framesPerSecond, false};
}
