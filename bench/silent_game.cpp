#include "bench/silent_game.h"

#include <GL/gl.h>

#include <cstdlib>

#include "player/player.h"
#include "shell/frame_pose.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "world/levels.h"
#include "world/skybox.h"

bool startSilentWindowedGame(int width, int height) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Settings settings;
    settings.fullscreen = false;
    settings.width = width;
    settings.height = height;
    char name[] = "gorvanka";
    char* argv[] = {name, nullptr};
    return startGame(1, argv, settings) == 0;
}

void enterLevel(int number) {
    levelNumber = number;
    levelIntroVisible = false;
    startLevel();
}

void placeCameraAt(float z, float direction) {
    player.cameraPos = {0.0f, kCameraHeight, z};
    player.viewDir = {0.0f, -0.4f, direction};
    player.vehiclePos.x = 0.0f;
    player.vehiclePos.z = z - kVehicleAhead;
    centreSkyOn(0.0f, z);
    rememberStepPose();
}

void drawFrameFrom(float z, float direction) {
    placeCameraAt(z, direction);
    onDisplay();
    glFinish();
}
