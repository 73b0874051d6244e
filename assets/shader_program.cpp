#include "assets/shader_program.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/fog.h"
#include "platform/messages.h"

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

// The main program for each state of the fog's and texturing's switches, [fog][texturing]; shaderProgram names the
// whole set.
unsigned int programVariants[2][2];
// The program GL draws with now, and whether it is one of the main program's.
unsigned int programInUse;
bool mainProgramInUse;
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

// The fragment shader with the switches' names defined after its first line, which names the GLSL version.
unsigned int compileFragmentVariant(const char* text, bool fog, bool texturing) {
    const char* lineEnd = std::strchr(text, '\n');
    const std::string version(text, lineEnd ? size_t(lineEnd - text + 1) : std::strlen(text));
    const std::string defines = std::string(fog ? "#define FOG\n" : "") + (texturing ? "#define TEXTURING\n" : "");
    const char* parts[3] = {version.c_str(), defines.c_str(), lineEnd ? lineEnd + 1 : ""};
    const unsigned int shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 3, parts, nullptr);
    glCompileShader(shader);
    printInfoLog(shader);
    return shader;
}

// Every variant shares the one vertex shader; the plain one's fragment shader is fragmentShader.
void buildProgramVariants(const char* vertexText, const char* fragmentText) {
    glShaderSource(vertexShader, 1, &vertexText, nullptr);
    say("Compiling shaders");
    glCompileShader(vertexShader);
    printInfoLog(vertexShader);
    say("Linking shaders");
    for (int fog = 0; fog < 2; ++fog) {
        for (int texturing = 0; texturing < 2; ++texturing) {
            const unsigned int fragment = compileFragmentVariant(fragmentText, fog, texturing);
            if (!fog && !texturing) fragmentShader = fragment;
            const unsigned int program = glCreateProgram();
            glAttachShader(program, vertexShader);
            glAttachShader(program, fragment);
            glLinkProgram(program);
            printInfoLog(program);
            programVariants[fog][texturing] = program;
        }
    }
    shaderProgram = programVariants[0][0];
}

// Every glUseProgram of the game goes through here.
void bindProgram(unsigned int program, bool main) {
    mainProgramInUse = main;
    if (program == programInUse) return;
    glUseProgram(program);
    programInUse = program;
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

// The main program's variant for the fog's switch and the GL state's texturing.
void bindMainVariant() {
    const bool texturing = glIsEnabled(GL_TEXTURE_2D) && textureBound();
    bindProgram(programVariants[fogIsOn()][texturing], true);
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
    say("Loading shaders");
    char* vertexText = readShaderSource(kVertexShaderPath);
    char* fragmentText = readShaderSource(kFragmentShaderPath);
    if (vertexText && fragmentText) buildProgramVariants(vertexText, fragmentText);
    free(vertexText);
    free(fragmentText);
    buildTerrainProgram();
    useShaderProgram(shaderProgram);
}

void useShaderProgram(unsigned int program) {
    if (!glUseProgram) return;
    if (program != 0 && program == shaderProgram) {
        bindMainVariant();
    } else {
        bindProgram(program, false);
    }
}

bool useTerrainProgram() {
    if (terrainProgram == 0) return false;
    const bool texturing = glIsEnabled(GL_TEXTURE_2D) && textureBound();
    bindProgram(terrainProgram, false);
    glUniform1i(terrainTexturingUniform, texturing);
    glDisable(GL_TEXTURE_2D);
    return true;
}

void matchShaderToGlState() {
    if (mainProgramInUse) bindMainVariant();
}
