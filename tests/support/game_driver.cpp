#include "tests/support/game_driver.h"

#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/input.h"
#include "shell/startup.h"
#include "tests/support/scripted_clock.h"

namespace {

// A quarter of the design size, so the frames are quick to draw.
const int kWidth = kDesignWidth / 4;
const int kHeight = kDesignHeight / 4;

std::string printed;

// The X server answers the resize in its own time: wait for it in real time, before any game time passes. The size is
// asked for on every pass, since the screen-filling resize of start-up may still be on its way and undo it.
void waitForSmallWindow() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        glutReshapeWindow(kWidth, kHeight);
        glutMainLoopEvent();
        if (glutGet(GLUT_WINDOW_WIDTH) == kWidth && glutGet(GLUT_WINDOW_HEIGHT) == kHeight) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), kWidth) << "the game window did not shrink";
    onReshape(kWidth, kHeight);
}

// The game's output is captured while a test runs; failures go to standard error as well, to be seen whatever it reads.
class OutputCapture : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { testing::internal::CaptureStdout(); }
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (result.failed()) fprintf(stderr, "%s:%d: %s\n", result.file_name(), result.line_number(), result.message());
    }
    void OnTestEnd(const testing::TestInfo&) override { printed += testing::internal::GetCapturedStdout(); }
};

}  // namespace

// The driver starts inside a test, so its capture starts here; each later test starts its own.
void startDrivenGame() {
    static bool started = false;
    if (std::exchange(started, true)) return;
    testing::UnitTest::GetInstance()->listeners().Append(new OutputCapture);
    testing::internal::CaptureStdout();
    int argc = 1;
    char name[] = "gorvanka";
    char* argv[] = {name, nullptr};
    ASSERT_EQ(startGame(argc, argv), 0);
    waitForSmallWindow();
    lastTickMs = scriptedNowMs;
}

void playFrames(int count, uint32_t msEach) {
    playUntil([&count] { return --count <= 0; }, UINT32_MAX, msEach);
}

bool playUntil(const std::function<bool()>& done, uint32_t maxMs, uint32_t msEach, int drawEvery) {
    for (uint32_t pass = 1; pass <= maxMs / msEach; ++pass) {
        scriptedNowMs += msEach;
        onIdle();
        if (pass % drawEvery == 0) onDisplay(), glFinish();
        if (done()) return true;
    }
    return false;
}

void pressKey(unsigned char key) { onKeyDown(key, 0, 0); }
void releaseKey(unsigned char key) { onKeyUp(key, 0, 0); }
void tapKey(unsigned char key) { pressKey(key), releaseKey(key); }
void tapSpecialKey(int key) { onSpecialKey(key, 0, 0), onSpecialKeyUp(key, 0, 0); }

Pixel framePixel(int x, int y) {
    return pixelAt(x * kWidth / kDesignWidth, kHeight - 1 - y * kHeight / kDesignHeight);
}

std::string gameOutput() {
    printed += testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    return std::exchange(printed, "");
}
