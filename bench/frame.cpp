// Frame time of the game along every level's road, each set against an empty clear-and-swap frame measured just
// before it, and what each part of the scene costs, measured by leaving it out; at 1420 x 800 and at 1920 x 1080, on
// the multisampled visual the game asks for, in one process under one renderer. Needs a screen of 1920 x 1080:
//     xvfb-run -s "-screen 0 1920x1080x24" build-bench/bench/frame
// Each figure is the best of a few runs of frames, so a busy moment elsewhere on the machine does not count;
// processor time, which counts the renderer's threads and not the machine's other work, is printed beside it.
#include <GL/gl.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

#include "assets/camera.h"
#include "assets/shader_program.h"
#include "assets/view_volume.h"
#include "bench/silent_game.h"
#include "hud/hud.h"
#include "player/player.h"
#include "player/vehicle_model.h"
#include "shell/frame_render.h"
#include "world/levels.h"
#include "world/pickups.h"
#include "world/scene.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

const int kWarmUpFrames = 5;
const int kRuns = 3;
const int kFramesPerRun = 20;
const float kRoadPoses[] = {4970, 3500, 2500, 1500, 500, 150};

// The parts of a frame, drawn in the game's order.
enum Part { kSky, kTerrain, kScenery, kVehicle, kGround, kPickups, kOverlay, kPartCount };
const char* const kPartNames[kPartCount] = {"sky", "terrain", "scenery", "vehicle", "ground", "pickups", "overlay"};
int partsLeftOut;  // a bit for each part the composed frame leaves out

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

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

bool drawn(Part part) { return !(partsLeftOut & (1 << part)); }

// The game's frame in play, composed here part by part so that any part can be left out.
void composedFrame() {
    useShaderProgram(0);
    glClear(GL_COLOR_BUFFER_BIT | (drawn(kSky) ? 0 : GL_DEPTH_BUFFER_BIT));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCamera(player.cameraPos, player.viewDir, player.upDir, false);
    const ViewVolume view = viewVolumeNow();
    if (drawn(kSky)) drawSkybox(sky.centreX, sky.centreZ);
    if (drawn(kTerrain)) drawTerrain(view);
    if (drawn(kScenery)) drawScenery(view);
    if (drawn(kVehicle)) drawVehicle(playerPose());
    if (drawn(kGround)) drawGround();
    if (drawn(kPickups)) drawPickups(level.pickups, level.pickupCount, view);
    if (drawn(kOverlay)) drawHud({false, std::nullopt, "", true, 0, false});
    glutSwapBuffers();
}

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

// The frame's cost and its ratio to an empty frame measured just before it, so a machine whose speed drifts during
// the run still gives fair ratios.
struct Measured {
    FrameCost cost;
    double timesEmpty;
    double processorTimesEmpty;
};

Measured measure(void (*frame)()) {
    const FrameCost empty = frameCost(emptyFrame);
    const FrameCost cost = frameCost(frame);
    return {cost, cost.ms / empty.ms, cost.processorMs / empty.processorMs};
}

void printRow(const char* name, const Measured& m) {
    std::printf("| %-30s | %8.2f | %7.2f | %8.2f | %7.2f |\n", name, m.cost.ms, m.timesEmpty, m.cost.processorMs,
                m.processorTimesEmpty);
}

void printHeader(const char* title) {
    std::printf("\n%s\n| %-30s | %8s | %7s | %8s | %7s |\n|---|---|---|---|---|\n", title, "frame", "ms/frame",
                "x empty", "cpu ms", "x empty");
}

// Every level along its road; returns the worst frame's ratio of each level.
void measureRoads(bool printEveryPose, double (&worst)[kLevelCount], float (&worstZ)[kLevelCount],
                  double (&start)[kLevelCount]) {
    char name[64];
    for (int number = 1; number <= kLevelCount; ++number) {
        enterLevel(number);
        worst[number - 1] = 0;
        for (float z : kRoadPoses) {
            placeCameraAt(z, -1.0f);
            const Measured m = measure(onDisplay);
            if (z == kRoadPoses[0]) start[number - 1] = m.timesEmpty;
            if (m.timesEmpty > worst[number - 1]) worst[number - 1] = m.timesEmpty, worstZ[number - 1] = z;
            std::snprintf(name, sizeof name, "level %d, z %.0f", number, z);
            if (printEveryPose) printRow(name, m);
        }
    }
}

void printSummary(const double (&worst)[kLevelCount], const float (&worstZ)[kLevelCount],
                  const double (&start)[kLevelCount]) {
    for (int i = 0; i < kLevelCount; ++i)
        std::printf("level %d: start %.2f x empty, worst %.2f x empty (z %.0f)\n", i + 1, start[i], worst[i],
                    worstZ[i]);
    std::printf("level 3's worst / level 1's worst: %.2f\n", worst[2] / worst[0]);
}

// What each part costs at the given pose: the composed frame with everything, then without each part in turn.
void measureParts(int number, float z) {
    enterLevel(number);
    placeCameraAt(z, -1.0f);
    char name[64];
    std::snprintf(name, sizeof name, "level %d, z %.0f, all parts", number, z);
    partsLeftOut = 0;
    const Measured all = measure(composedFrame);
    printRow(name, all);
    for (int part = 0; part < kPartCount; ++part) {
        partsLeftOut = 1 << part;
        const Measured without = measure(composedFrame);
        std::snprintf(name, sizeof name, "  %s costs", kPartNames[part]);
        std::printf("| %-30s | %8.2f | %7.2f | %8.2f | %7.2f |\n", name, all.cost.ms - without.cost.ms,
                    all.timesEmpty - without.timesEmpty, all.cost.processorMs - without.cost.processorMs,
                    all.processorTimesEmpty - without.processorTimesEmpty);
    }
    partsLeftOut = 0;
}

// The X server answers a resize in its own time.
bool resizeWindow(int width, int height) {
    glutReshapeWindow(width, height);
    for (int tries = 0; tries < 500; ++tries) {
        glutMainLoopEvent();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

int main() {
    if (!startSilentWindowedGame(kDesignWidth, kDesignHeight)) return 1;
    GLint sampleBuffers = 0, samples = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    glGetIntegerv(GL_SAMPLES, &samples);
    std::printf("renderer: %s, %s (%d samples)\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                sampleBuffers ? "multisampled" : "NOT multisampled", samples);
    double worst[kLevelCount], start[kLevelCount];
    float worstZ[kLevelCount];
    printHeader("1420 x 800, every level along its road");
    measureRoads(true, worst, worstZ, start);
    printSummary(worst, worstZ, start);
    printHeader("1420 x 800, each part's cost by leaving it out, at each level's worst pose");
    for (int number = 1; number <= kLevelCount; ++number) measureParts(number, worstZ[number - 1]);
    if (!resizeWindow(1920, 1080)) {
        std::printf("\nthe window could not be made 1920 x 1080: run on a screen that large\n");
        return 1;
    }
    printHeader("1920 x 1080, every level along its road");
    measureRoads(true, worst, worstZ, start);
    printSummary(worst, worstZ, start);
    return 0;
}
