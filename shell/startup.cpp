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
#include "world/scene.h"
#include "world/terrain.h"

namespace {

// The HUD's fixed 2D layout is drawn for this window size.
const int kWindowWidth = 1420;
const int kWindowHeight = 800;
const char* const kVertexShaderPath = "shaders/gorvanka.vert";
const char* const kFragmentShaderPath = "shaders/gorvanka.frag";
const int kInfoLogSize = 1024;
// No text the game reads comes near this; anything larger is not a shader.
const long kMaxTextFileSize = 16L * 1024 * 1024;

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

bool shaderEntryPointsPresent() {
    return glCreateShader && glShaderSource && glCompileShader && glCreateProgram &&
           glAttachShader && glLinkProgram && glUseProgram && glIsShader &&
           glGetShaderInfoLog && glGetProgramInfoLog;
}

char* readShaderSource(const char* path) {
    char* text = readTextFile(path);
    if (!text) {
        std::cout << "Cannot read shader source " << path << ": drawing without shaders"
                  << std::endl;
    }
    return text;
}

void compileShaders(const char* vertexText, const char* fragmentText) {
    glShaderSource(vertexShader, 1, &vertexText, nullptr);
    glShaderSource(fragmentShader, 1, &fragmentText, nullptr);
    say("Compiling shaders");
    glCompileShader(vertexShader);
    glCompileShader(fragmentShader);
    printInfoLog(vertexShader);
    printInfoLog(fragmentShader);
}

void linkShaderProgram() {
    say("Linking shaders");
    shaderProgram = glCreateProgram();
    glAttachShader(shaderProgram, vertexShader);
    glAttachShader(shaderProgram, fragmentShader);
    glLinkProgram(shaderProgram);
    printInfoLog(shaderProgram);
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

char* readTextFile(const char* path) {
    if (!path) return nullptr;
    FILE* file = fopen(path, "r");
    if (!file) return nullptr;
    char* text = nullptr;
    long size = (fseek(file, 0, SEEK_END) == 0) ? ftell(file) : -1;
    if (size > 0 && size <= kMaxTextFileSize && fseek(file, 0, SEEK_SET) == 0) {
        text = static_cast<char*>(malloc(size_t(size) + 1));
        if (text) {
            // Text mode may deliver fewer bytes than the file holds (CR LF).
            size_t got = fread(text, 1, size_t(size), file);
            text[got] = '\0';
        }
    }
    fclose(file);
    return text;
}

void printInfoLog(unsigned int object) {
    char log[kInfoLogSize];
    GLsizei length = 0;
    if (glIsShader(object)) {
        glGetShaderInfoLog(object, kInfoLogSize, &length, log);
    } else {
        glGetProgramInfoLog(object, kInfoLogSize, &length, log);
    }
    if (length > 0) {
        printf("%s\n", log);
        fflush(stdout);
    }
}

void buildShaderProgram() {
    if (!shaderEntryPointsPresent()) {
        say("This OpenGL has no GLSL shaders: drawing without them");
        return;
    }
    vertexShader = glCreateShader(GL_VERTEX_SHADER);
    fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    say("Loading shaders");
    char* vertexText = readShaderSource(kVertexShaderPath);
    char* fragmentText = readShaderSource(kFragmentShaderPath);
    if (vertexText && fragmentText) {
        compileShaders(vertexText, fragmentText);
        linkShaderProgram();
    }
    free(vertexText);
    free(fragmentText);
    useShaderProgram(shaderProgram);
}

void useShaderProgram(unsigned int program) {
    if (glUseProgram) glUseProgram(program);
}

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
