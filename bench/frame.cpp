// Frame time of the game's own frame in each level, and of the sky, ground and
// terrain alone, against an empty clear-and-swap frame, at 1420 x 800 on the
// multisampled visual the game asks for, in one run under the same renderer.
// Each figure is the best of several runs of frames, so that a busy moment
// elsewhere on the machine does not count; processor time, which counts the
// renderer's threads and not the machine's other work, is printed beside it.
#include <GL/gl.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "bench/silent_game.h"
#include "player/player.h"
#include "render/camera.h"
#include "render/view_volume.h"
#include "shell/frame_render.h"
#include "world/levels.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

const int kWidth = 1420;
const int kHeight = 800;
const int kWarmUpFrames = 20;
const int kRuns = 5;
const int kFramesPerRun = 60;

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

// What every frame pays for before any model: the sky, the terrain and the ground.
void backdropFrame() {
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCamera(player.cameraPos, player.viewDir, player.upDir, false);
    const ViewVolume view = viewVolumeNow();
    drawSkybox(sky.centreX, sky.centreZ);
    drawTerrain(view);
    drawGround();
    glutSwapBuffers();
}

// Processor time of the whole process, the renderer's threads included.
double processorMs() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct FrameCost {
    double ms;           // wall-clock time per frame
    double processorMs;  // processor time per frame: steadier on a busy machine
};

// The best run's means; glFinish keeps the renderer from running ahead.
FrameCost frameCost(void (*frame)()) {
    for (int i = 0; i < kWarmUpFrames; ++i) frame();
    glFinish();
    FrameCost best = {1e30, 1e30};
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const double startProcessor = processorMs();
        for (int i = 0; i < kFramesPerRun; ++i) {
            frame();
            glFinish();
        }
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best.ms = std::min(best.ms, elapsed.count() / kFramesPerRun);
        best.processorMs = std::min(best.processorMs, (processorMs() - startProcessor) / kFramesPerRun);
    }
    return best;
}

// Each frame is set against an empty frame measured just before it, so that
// a machine whose speed drifts during the run still gives fair ratios.
void printRow(const char* name, void (*frame)()) {
    const FrameCost empty = frameCost(emptyFrame);
    const FrameCost cost = frameCost(frame);
    printf("| %-32s | %8.2f | %7.2f | %8.2f | %7.2f |\n", name, cost.ms, cost.ms / empty.ms, cost.processorMs,
           cost.processorMs / empty.processorMs);
}

}  // namespace

int main() {
    if (!startSilentWindowedGame(kWidth, kHeight)) return 1;
    GLint sampleBuffers = 0, samples = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    glGetIntegerv(GL_SAMPLES, &samples);
    printf("renderer: %s, %d x %d, %s (%d samples)\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
           kWidth, kHeight, sampleBuffers ? "multisampled" : "NOT multisampled", samples);
    printf("| %-32s | %8s | %7s | %8s | %7s |\n", "frame", "ms/frame", "x empty", "cpu ms", "x empty");
    printRow("empty clear-and-swap", emptyFrame);
    char name[64];
    for (int number = 1; number <= 3; ++number) {
        enterLevel(number);
        snprintf(name, sizeof name, "level %d (%d pickups)", number, level.pickupCount);
        printRow(name, onDisplay);
    }
    for (int number : {1, 3}) {
        enterLevel(number);
        snprintf(name, sizeof name, "level %d sky, ground, terrain", number);
        printRow(name, backdropFrame);
    }
    return 0;
}
