#include "shell/frame_render.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "assets/camera.h"
#include "assets/shader_program.h"
#include "assets/view_volume.h"
#include "hud/hud.h"
#include "platform/tick_counter.h"
#include "player/player.h"
#include "player/vehicle_model.h"
#include "shell/frame_pose.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/pause.h"
#include "world/levels.h"
#include "world/pickups.h"
#include "world/scene.h"
#include "world/skybox.h"
#include "world/terrain.h"

int32_t fpsFrameCount;
uint32_t fpsLastTimeMs;
int32_t framesPerSecond;

namespace {

const uint32_t kFpsInterval = 1000;  // ms between frame-rate measurements

void countFrame() {
    fpsFrameCount += 1;
    uint32_t now = getTickCount();
    uint32_t span = now - fpsLastTimeMs;
    if (span > kFpsInterval) {
        framesPerSecond = int32_t(int64_t(fpsFrameCount) * 1000 / span);
        fpsLastTimeMs = now;
        fpsFrameCount = 0;
    }
}

// The world as the camera of the drawn pose sees it.
void drawScene(const FramePose& pose) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCamera(pose.car.cameraPos, pose.car.viewDir, player.upDir, player.cameraPulledBack);
    const ViewVolume view = viewVolumeNow();
    drawSkybox(pose.skyCentreX, pose.skyCentreZ);
    drawTerrain(view);
    drawScenery(view);
    drawVehicle(pose.car);
    drawGround();
    drawPickups(level.pickups, level.pickupCount, view);
    // The overlay finds blending on after the scene, its translucency switch (F9) or not.
    glEnable(GL_BLEND);
}

}  // namespace

void onDisplay() {
    useShaderProgram(0);
    glClear(GL_COLOR_BUFFER_BIT);  // the sky box clears the depth buffer
    HudScreen screen = advanceLevelFlow(framesPerSecond);
    screen.paused = gamePaused();
    if (!hudCoversScene(screen)) drawScene(drawnPose(stepFraction()));
    drawHud(screen);
    glutSwapBuffers();
    countFrame();
}

void onReshape(int width, int height) {
    if (width == 0 || height == 0) return;
    glViewport(0, 0, width, height);
    setProjection(double(width) / double(height), kNearPlane, kFarPlane);
}
