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
    glutInitWindowSize(256, 256);
    glutCreateWindow("gorvanka-gltest");
    glewInit();
    ready = true;
}
