// Mean frame time of the full game scene at 1420 x 800 against an empty
// clear-and-swap frame, in one run under the same renderer.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>

#include "player/vehicle_motion.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/shader_program.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

const int kWarmUpFrames = 30;
const int kTimedFrames = 300;

void setUpGame(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(1420, 800);
    glutCreateWindow("Gorvanka frame bench");
    loadHeightfield();
    rescaleHeightfield();
    initScene();
    moveBy({0.0f, 3.0f, 0.1f});
    stepBack(1.0f);
    glewInit();
    buildShaderProgram();
    onReshape(1420, 800);
    // Straight into play: the banner would hide the scene.
    levelIntroVisible = false;
    startLevel();
}

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

// Milliseconds per frame; glFinish keeps the renderer from running ahead.
double meanFrameMs(void (*frame)()) {
    for (int i = 0; i < kWarmUpFrames; ++i) frame();
    glFinish();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kTimedFrames; ++i) {
        frame();
        glFinish();
    }
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / kTimedFrames;
}

}  // namespace

int main(int argc, char** argv) {
    setUpGame(&argc, argv);
    double scene = meanFrameMs(onDisplay);
    double empty = meanFrameMs(emptyFrame);
    printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    printf("full scene: %.3f ms/frame (%d pickups)\n", scene, level.pickupCount);
    printf("empty clear-and-swap: %.3f ms/frame\n", empty);
    printf("ratio: %.2f\n", scene / empty);
    return 0;
}
