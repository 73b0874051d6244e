#include "render/shader_program.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>

#include "core/messages.h"
#include "render/fog.h"

unsigned int vertexShader;
unsigned int fragmentShader;
unsigned int shaderProgram;
unsigned int terrainProgram;

namespace {

const char* const kVertexShaderPath = "shaders/gorvanka.vert";
const char* const kFragmentShaderPath = "shaders/gorvanka.frag";
const char* const kTerrainShaderPath = "shaders/terrain.vert";
const int kInfoLogSize = 1024;
// No text the game reads comes near this; anything larger is not a shader.
const long kMaxTextFileSize = 16L * 1024 * 1024;

// Where the program takes its fog and texturing switches; -1 when it has none.
GLint fogOnUniform = -1;
GLint texturingUniform = -1;
GLint terrainTexturingUniform = -1;

bool shaderEntryPointsPresent() {
    return glCreateShader && glShaderSource && glCompileShader && glCreateProgram &&
           glAttachShader && glLinkProgram && glUseProgram && glIsShader &&
           glGetShaderInfoLog && glGetProgramInfoLog && glGetUniformLocation && glUniform1i;
}

char* readShaderSource(const char* path) {
    char* text = readTextFile(path);
    if (!text) {
        sayf("Cannot read shader source %s: drawing without shaders\n", path);
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
    fogOnUniform = glGetUniformLocation(shaderProgram, "fogOn");
    texturingUniform = glGetUniformLocation(shaderProgram, "texturing");
}

// The terrain's program from its one vertex shader; 0 when it does not compile or link.
void buildTerrainProgram() {
    char* text = readShaderSource(kTerrainShaderPath);
    if (!text) return;
    const unsigned int shader = glCreateShader(GL_VERTEX_SHADER);
    const char* source = text;
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    printInfoLog(shader);
    free(text);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) return;
    const unsigned int program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    printInfoLog(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) return;
    terrainProgram = program;
    terrainTexturingUniform = glGetUniformLocation(terrainProgram, "texturing");
}

bool textureBound() {
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound != 0;
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
    if (length > 0) sayf("%s\n", log);
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
    buildTerrainProgram();
    useShaderProgram(shaderProgram);
}

void useShaderProgram(unsigned int program) {
    if (!glUseProgram) return;
    glUseProgram(program);
    matchShaderToGlState();
}

bool useTerrainProgram() {
    if (terrainProgram == 0) return false;
    const bool texturing = glIsEnabled(GL_TEXTURE_2D) && textureBound();
    glUseProgram(terrainProgram);
    glUniform1i(terrainTexturingUniform, texturing);
    glDisable(GL_TEXTURE_2D);
    return true;
}

void matchShaderToGlState() {
    if (shaderProgram == 0 || !glUseProgram) return;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    if (GLuint(current) != shaderProgram) return;
    glUniform1i(fogOnUniform, fogIsOn());
    glUniform1i(texturingUniform, glIsEnabled(GL_TEXTURE_2D) && textureBound());
}
