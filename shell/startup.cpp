#include "shell/startup.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "audio/sounds.h"
#include "platform/tick_counter.h"
#include "player/vehicle_motion.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "shell/shader_program.h"
#include "world/scene.h"
#include "world/terrain.h"

namespace {

// The HUD's fixed 2D layout is drawn for this window size.
const int kWindowWidth = 1420;
const int kWindowHeight = 800;

void say(const char* line) {
    std::cout << line << std::endl;
}

void openWindow(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(kWindowWidth, kWindowHeight);
    glutCreateWindow("Gorvanka");
}

void placePlayer() {
    moveBy({0.0f, 3.0f, 0.1f});
    stepBack(1.0f);
}

void registerCallbacks() {
    glutDisplayFunc(onDisplay);
    glutReshapeFunc(onReshape);
    glutKeyboardFunc(onKeyDown);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardUpFunc(onKeyUp);
    glutMouseFunc(onMouse);
    // A held key reads as held, and each press fires once.
    glutIgnoreKeyRepeat(1);
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

int runGame(int argc, char** argv) {
    openWindow(&argc, argv);
    if (loadHeightfield() != 0) return -1;
    say("Terrain Loaded");
    rescaleHeightfield();
    initScene();
    placePlayer();
    glutFullScreen();
    registerCallbacks();
    lastTickMs = getTickCount();
    glutIdleFunc(onIdle);
    requireOpenGl12();
    printDriverIdentity();
    buildShaderProgram();
    startAudio();
    glutMainLoop();
    return 0;
}
