/* Preloaded into the game by bench/soak.sh: counts live GL textures (made minus
   deleted) and keeps the current count in the file named by
   GORVANKA_TEXTURE_COUNT_FILE, so the soak can read it while the game runs. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

static long liveTextures;

static void publish(void) {
    const char* path = getenv("GORVANKA_TEXTURE_COUNT_FILE");
    if (!path) return;
    FILE* file = fopen(path, "w");
    if (!file) return;
    fprintf(file, "%ld\n", liveTextures);
    fclose(file);
}

void glGenTextures(GLsizei n, GLuint* textures) {
    static void (*real)(GLsizei, GLuint*);
    if (!real) real = (void (*)(GLsizei, GLuint*))dlsym(RTLD_NEXT, "glGenTextures");
    real(n, textures);
    liveTextures += n;
    publish();
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    static void (*real)(GLsizei, const GLuint*);
    if (!real) real = (void (*)(GLsizei, const GLuint*))dlsym(RTLD_NEXT, "glDeleteTextures");
    for (GLsizei i = 0; i < n; ++i)
        if (textures[i] != 0 && glIsTexture(textures[i])) --liveTextures;
    real(n, textures);
    publish();
}
