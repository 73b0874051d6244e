#include "shell/game_flow.h"

#include "audio/sounds.h"
#include "shell/frame_pose.h"
#include "world/levels.h"

bool levelIntroVisible = true;
bool startRequested;
bool restartRequested;
bool gameOver;
bool levelComplete;

FlowScreen stepLevelFlow() {
    FlowScreen screen = {false, std::nullopt, false};
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
    if (flow.bannerLevel && *flow.bannerLevel <= kLevelCount) playOnlyLevelTrack(*flow.bannerLevel);
    if (flow.startLevelNow) {
        startLevel();
        rememberStepPose();  // the level starts from rest: no blend with the pose before it
    }
    const bool playing = !gameOver && !levelComplete && !levelIntroVisible;
    const bool picture = flow.gameOverPicture || flow.bannerLevel;
    return {flow.gameOverPicture, flow.bannerLevel, playing && !picture, framesPerSecond, false};
}
