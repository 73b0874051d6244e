#include "shell/startup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/sounds.h"
#include "platform/key_repeat.h"
#include "platform/tick_counter.h"
#include "platform/window_class.h"
#include "platform/window_watch.h"
#include "player/vehicle_motion.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "core/messages.h"
#include "shell/shader_program.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

// How long start-up waits for the window to show its first frame.
const auto kFirstFrameWait = std::chrono::seconds(1);

bool firstFrameShown;

// Opened at the size of the screen it is about to fill: the renderer sets up
// its multisampled buffers, a good part of start-up, once instead of twice.
// Its class is the one the desktop entry names, not the executable's name.
void openWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    const int screenWidth = glutGet(GLUT_SCREEN_WIDTH), screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    if (screenWidth > 0 && screenHeight > 0) {
        glutInitWindowSize(screenWidth, screenHeight);
    } else {
        glutInitWindowSize(kDesignWidth, kDesignHeight);
    }
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

void startAudio() {
    initAudio();
    startMusicTrack1();
    startMusicTrack2();
    startMusicTrack3();
    startEngineIdleSound();
    startEngineMaxSound();
    startEngineAccSound();
}

}  // namespace

int startGame(int argc, char** argv) {
    openWindow(&argc, argv);
    if (loadHeightfield() != 0) return -1;
    say("Terrain Loaded");
    rescaleHeightfield();
    placePlayer();
    fillScreen();
    requireOpenGl12();
    printDriverIdentity();
    showFirstFrame();
    initScene();
    buildShaderProgram();
    startAudio();
    registerCallbacks();
    lastTickMs = getTickCount();
    glutIdleFunc(onIdle);
    return 0;
}

int runGame(int argc, char** argv) {
    if (startGame(argc, argv) != 0) return -1;
    glutMainLoop();
    return 0;
}
