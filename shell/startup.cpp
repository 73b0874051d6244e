#include "shell/startup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "assets/fog.h"
#include "assets/shader_program.h"
#include "audio/sounds.h"
#include "hud/font.h"
#include "platform/key_repeat.h"
#include "platform/messages.h"
#include "platform/swap_control.h"
#include "platform/tick_counter.h"
#include "platform/window_class.h"
#include "platform/window_watch.h"
#include "player/vehicle_motion.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/pad_input.h"
#include "shell/pause.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

// How long start-up waits for the window to show its first frame.
const auto kFirstFrameWait = std::chrono::seconds(1);

bool firstFrameShown;

// Full screen, the window opens at the size of the screen it is about to fill:
// the renderer sets up its multisampled buffers, a good part of start-up, once
// instead of twice. A window is no larger than the screen. Its class is the
// one the desktop entry names, not the executable's name.
void openWindow(int* argc, char** argv, const Settings& settings) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    const int screenWidth = glutGet(GLUT_SCREEN_WIDTH), screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    int width = settings.width, height = settings.height;
    if (screenWidth > 0 && screenHeight > 0) {
        width = settings.fullscreen ? screenWidth : std::min(width, screenWidth);
        height = settings.fullscreen ? screenHeight : std::min(height, screenHeight);
    }
    glutInitWindowSize(width, height);
    glutCreateWindow("Gorvanka");
    setWindowClass("gorvanka", "Gorvanka");
}

void placePlayer() {
    moveBy({0.0f, 3.0f, 0.1f});
    stepBack(1.0f);
}

// Full screen is the window manager's to grant; on a bare X server, which has
// none, the window, opened as large as the screen, only needs to sit at its corner.
void fillScreen() {
    glutPositionWindow(0, 0);
    glutFullScreen();
}

void drawFirstFrame() {
    onDisplay();
    firstFrameShown = true;
}

// The level 1 banner goes up as soon as the window shows, and stays while the
// world, the shaders and the sounds are made. Input waits until they are.
void showFirstFrame() {
    glutReshapeFunc(onReshape);
    glutDisplayFunc(drawFirstFrame);
    glutPostRedisplay();
    const auto deadline = std::chrono::steady_clock::now() + kFirstFrameWait;
    while (!firstFrameShown && std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void registerCallbacks() {
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyDown);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialUpFunc(onSpecialKeyUp);
    glutMouseFunc(onMouse);
    // Input filters repeats itself by which keys are down; it needs releases
    // that only ever mean a key came up.
    glutIgnoreKeyRepeat(makeKeyRepeatDetectable() ? 0 : 1);
    watchGameWindow();
}

void requireOpenGl12() {
    glewInit();
    if (!glewIsSupported("GL_VERSION_1_2")) {
        sayf("OpenGL 1.2 not supported\n");
        std::exit(1);
    }
    sayf("Ready for OpenGL 1.2\n");
}

const char* glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "(unknown)";
}

void printDriverIdentity() {
    sayf("Vendor: %s\n", glText(GL_VENDOR));
    sayf("Renderer: %s\n", glText(GL_RENDERER));
    sayf("Version: %s\n", glText(GL_VERSION));
    sayf("GLSL: %s\n", glText(GL_SHADING_LANGUAGE_VERSION));
}

}  // namespace

int startGame(int argc, char** argv, const Settings& settings) {
    openWindow(&argc, argv, settings);
    if (loadHeightfield() != 0) return -1;
    say("Terrain Loaded");
    rescaleHeightfield();
    placePlayer();
    if (settings.fullscreen) fillScreen();
    requireOpenGl12();
    printDriverIdentity();
    setSwapInterval(settings.vsync ? 1 : 0);
    showFirstFrame();
    setUpFog();
    buildFont();
    initScene();
    buildShaderProgram();
    startAudio();
    setSoundVolume(settings.volume);
    setAutoPause(settings.autoPause);
    startGamepads();
    registerCallbacks();
    lastTickMs = getTickCount();
    glutIdleFunc(onIdle);
    return 0;
}

int runGame(int argc, char** argv, const Settings& settings) {
    if (startGame(argc, argv, settings) != 0) return -1;
    glutMainLoop();
    return 0;
}
