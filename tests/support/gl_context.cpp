#include "tests/support/gl_context.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

void ensureGlContext() {
    static bool ready = false;
    if (ready) return;
    int argc = 1;
    char name[] = "gorvanka-gltest";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kGlWindowSize, kGlWindowSize);
    glutCreateWindow("gorvanka-gltest");
    glewInit();
    ready = true;
}

Pixel pixelAt(int x, int y) {
    uint8_t pixel[3] = {};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

unsigned int solidTexture(uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t texel[3] = {r, g, b};
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return name;
}
