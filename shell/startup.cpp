#include "shell/startup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

#include "audio/sounds.h"
#include "platform/key_repeat.h"
#include "platform/tick_counter.h"
#include "player/vehicle_motion.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "shell/messages.h"
#include "shell/shader_program.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

void openWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(kDesignWidth, kDesignHeight);
    glutCreateWindow("Gorvanka");
}

void placePlayer() {
    moveBy({0.0f, 3.0f, 0.1f});
    stepBack(1.0f);
}

// Full screen is the window manager's to grant; on a bare X server, which has
// none, the window is simply made as large as the screen.
void fillScreen() {
    glutPositionWindow(0, 0);
    glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutFullScreen();
}

void registerCallbacks() {
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyDown);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialUpFunc(onSpecialKeyUp);
    glutMouseFunc(onMouse);
    // Input filters repeats itself by which keys are down; it needs releases
    // that only ever mean a key came up.
    glutIgnoreKeyRepeat(makeKeyRepeatDetectable() ? 0 : 1);
}

void requireOpenGl12() {
    glewInit();
    if (!glewIsSupported("GL_VERSION_1_2")) {
        printf("OpenGL 1.2 not supported\n");
        std::exit(1);
    }
    printf("Ready for OpenGL 1.2\n");
}

const char* glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "(unknown)";
}

void printDriverIdentity() {
    printf("Vendor: %s\n", glText(GL_VENDOR));
    printf("Renderer: %s\n", glText(GL_RENDERER));
    printf("Version: %s\n", glText(GL_VERSION));
    printf("GLSL: %s\n", glText(GL_SHADING_LANGUAGE_VERSION));
    fflush(stdout);
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
    initScene();
    placePlayer();
    fillScreen();
    registerCallbacks();
    lastTickMs = getTickCount();
    glutIdleFunc(onIdle);
    requireOpenGl12();
    printDriverIdentity();
    buildShaderProgram();
    startAudio();
    return 0;
}

int runGame(int argc, char** argv) {
    if (startGame(argc, argv) != 0) return -1;
    glutMainLoop();
    return 0;
}
