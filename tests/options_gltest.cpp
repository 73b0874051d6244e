// The player's own settings reach the game at start-up: the sound's volume, and auto-pause turned off.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "audio/sounds.h"
#include "shell/pause.h"
#include "tests/support/game_driver.h"

TEST(Options, StartUpTakesTheVolumeAndLeavesAutoPauseOff) {
    Settings settings;
    settings.volume = 40, settings.autoPause = false;
    startDrivenGame(settings);
    EXPECT_EQ(Mix_MasterVolume(-1), 51) << "40 of 100, on the mixer's scale of 128";
    focusElsewhere();
    playFrames(2, 16);
    EXPECT_FALSE(gamePaused() || allSoundHeld()) << "the window lost the focus, and play goes on";
    focusGame();
}
