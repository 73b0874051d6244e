#include "tests/support/game_driver.h"

#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "assets/camera.h"
#include "shell/startup.h"
#include "tests/support/registered_idle.h"
#include "tests/support/scripted_clock.h"

namespace {

const int kWidth = kDesignWidth / 4, kHeight = kDesignHeight / 4;

std::string printed;
Window elsewhere;  // a plain window of the test's, to take the focus from the game
Window inside;     // one inside the game's window, as an input method may put one there

Display* display() { return glXGetCurrentDisplay(); }
Window gameWindow() { return glXGetCurrentDrawable(); }

// The window's events go through the windowing library to the registered callbacks, which draw a frame if asked.
void pumpEvents() { XSync(display(), False), glutMainLoopEvent(); }

// A key or a button event (their fields share names) at a point of the game's window, as the X server sends it.
template <typename Event>
void send(XEvent* event, Event* e, int type, long mask) {
    e->type = type;
    e->display = display();
    e->window = gameWindow();
    e->root = DefaultRootWindow(display());
    e->x = e->y = e->x_root = e->y_root = 10;
    e->same_screen = True;
    XSendEvent(display(), gameWindow(), False, mask, event);
    pumpEvents();
}

void sendKey(KeySym symbol, unsigned int modifiers, bool press) {
    XEvent event{};
    event.xkey.state = modifiers;
    event.xkey.keycode = XKeysymToKeycode(display(), symbol);
    send(&event, &event.xkey, press ? KeyPress : KeyRelease, press ? KeyPressMask : KeyReleaseMask);
}

void sendCharacter(unsigned char character, bool press) {
    if (character == 27) return sendKey(XK_Escape, 0, press);
    sendKey(std::tolower(character), std::isupper(character) ? ShiftMask : 0, press);
}

void sendButton(int button, bool press) {
    XEvent event{};
    event.xbutton.button = button + 1;  // X numbers the left, middle and right buttons 1, 2 and 3
    send(&event, &event.xbutton, press ? ButtonPress : ButtonRelease, press ? ButtonPressMask : ButtonReleaseMask);
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
void startDrivenGame(const Settings& settings) {
    static bool started = false;
    if (std::exchange(started, true)) return;
    testing::UnitTest::GetInstance()->listeners().Append(new OutputCapture);
    testing::internal::CaptureStdout();
    int argc = 1;
    char name[] = "gorvanka";
    char* argv[] = {name, nullptr};
    ASSERT_EQ(startGame(argc, argv, settings), 0);
    ASSERT_NE(registeredIdle, nullptr) << "start-up registered no idle callback";
    resizeGameWindow(kWidth, kHeight);
    elsewhere = XCreateSimpleWindow(display(), DefaultRootWindow(display()), kWidth + 10, 0, 50, 50, 0, 0, 0);
    XMapWindow(display(), elsewhere);
    inside = XCreateSimpleWindow(display(), gameWindow(), 0, 0, 1, 1, 0, 0, 0);
    XMapWindow(display(), inside);
    focusGame();
}

// The X server answers the resize in its own time: waited for in real time, and asked for again on every pass, as
// start-up's screen-filling resize may still be on its way and undo it.
void resizeGameWindow(int width, int height) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        glutReshapeWindow(width, height);
        pumpEvents();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), width) << "the game window did not take its new size";
}

void playFrames(int count, uint32_t msEach) { playUntil([&count] { return --count <= 0; }, UINT32_MAX, msEach); }

void playPass(uint32_t ms, bool draw) {
    scriptedNowMs += ms;
    registeredIdle();
    if (draw) pumpEvents(), glFinish();
}

bool playUntil(const std::function<bool()>& done, uint32_t maxMs, uint32_t msEach, int drawEvery) {
    for (uint32_t pass = 1; pass <= maxMs / msEach; ++pass) {
        playPass(msEach, pass % drawEvery == 0);
        if (done()) return true;
    }
    return false;
}

void pressKey(unsigned char key) { sendCharacter(key, true); }
void releaseKey(unsigned char key) { sendCharacter(key, false); }
void tapKey(unsigned char key) { pressKey(key), releaseKey(key); }
void pressButton(int button) { sendButton(button, true); }
void releaseButton(int button) { sendButton(button, false); }

void tapSpecialKey(int key) {
    const KeySym symbol = key == GLUT_KEY_HOME ? XK_Home : XK_F1 + (key - GLUT_KEY_F1);
    sendKey(symbol, 0, true), sendKey(symbol, 0, false);
}

void focusElsewhere() { XSetInputFocus(display(), elsewhere, RevertToPointerRoot, CurrentTime), pumpEvents(); }
void focusInsideGame() { XSetInputFocus(display(), inside, RevertToPointerRoot, CurrentTime), pumpEvents(); }
void focusGame() { XSetInputFocus(display(), gameWindow(), RevertToPointerRoot, CurrentTime), pumpEvents(); }

Pixel framePixel(int x, int y) { return pixelAt(x * kWidth / kDesignWidth, kHeight - 1 - y * kHeight / kDesignHeight); }

std::string gameOutput() {
    printed += testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    return std::exchange(printed, "");
}
