#include "shell/frame_render.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>

#include "hud/hud.h"
#include "platform/tick_counter.h"
#include "player/pickups.h"
#include "player/player.h"
#include "player/vehicle_model.h"
#include "shell/frame_pose.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/shader_program.h"
#include "shell/view_volume.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/skybox.h"
#include "world/terrain.h"

int32_t fpsFrameCount;
uint32_t fpsLastTimeMs;
int32_t framesPerSecond;

namespace {

const float kPulledBackShift = 30.0f;  // camera eye shift along +z for 'c'

const double kFieldOfView = 45.0;  // degrees, vertical
const uint32_t kFpsInterval = 1000;  // ms between frame-rate measurements

void drawVehicle() {
    useShaderProgram(shaderProgram);
    drawVehicleBody();
    drawLeftWheel();
    drawRightWheel();
    useShaderProgram(0);
}

// Mushrooms use the fixed-function pipeline, rifles and bottles the shaders.
void drawPickup(const Pickup& pickup) {
    if (pickup.kind == kRedMushroom || pickup.kind == kYellowMushroom) {
        if (pickup.collected) return;
        if (pickup.kind == kRedMushroom) {
            drawRedMushroom(pickup);
        } else {
            drawYellowMushroom(pickup);
        }
        return;
    }
    useShaderProgram(shaderProgram);
    if (!pickup.collected) {
        if (pickup.kind == kRifle) drawRifle(pickup);
        if (pickup.kind == kBottle) drawBottle(pickup);
    }
    useShaderProgram(0);
}

// Only the pickups that can change a pixel, in their order.
void drawPickups(const ViewVolume& view) {
    if (!level.pickups) return;
    for (int32_t i = 0; i < level.pickupCount; ++i) {
        const Pickup& pickup = level.pickups[i];
        if (ballCanShow(view, pickup.position, pickupDrawnRadius(pickup.kind))) drawPickup(pickup);
    }
}

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
void drawScene() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    showDrawnPose(stepFraction());
    applyCamera();
    const ViewVolume view = viewVolumeNow();
    drawSkybox();
    drawTerrain(view);
    drawBuilding();
    drawSceneryWheel();
    drawVehicle();
    drawGround();
    drawPickups(view);
    restoreStepPose();
}

}  // namespace

void onDisplay() {
    useShaderProgram(0);
    glClear(GL_COLOR_BUFFER_BIT);  // the sky box clears the depth buffer
    if (!hudCoversScene()) drawScene();
    drawHud();
    glutSwapBuffers();
    countFrame();
}

void drawTerrain(const ViewVolume& view) {
    const TerrainDrawing& drawing = terrainDrawing;
    if (!ballCanShow(view, drawing.centre, drawing.radius)) return;
    const float depth = std::max(nearestDepth(view, drawing.centre, drawing.radius), float(kNearPlane));
    glCallList(terrainListFor(view.pixelsPerUnitDepth / depth));
}

void onReshape(int width, int height) {
    if (width == 0 || height == 0) return;
    glViewport(0, 0, width, height);
    setProjection(double(width) / double(height), kNearPlane, kFarPlane);
}

void setProjection(double aspect, double nearPlane, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void applyCamera() {
    const Vec3& pos = player.cameraPos;
    float eyeZ = player.cameraPulledBack ? pos.z + kPulledBackShift : pos.z;
    Vec3 centre = add(pos, player.viewDir);
    const Vec3& up = player.upDir;
    gluLookAt(pos.x, pos.y, eyeZ, centre.x, centre.y, centre.z, up.x, up.y, up.z);
}
