#include "shell/main_loop.h"

#include <GL/freeglut.h>

#include "audio/sounds.h"
#include "platform/window_watch.h"
#include "shell/frame_update.h"
#include "shell/input.h"

void onIdle() {
    if (readWindowNews().focusLost) releaseHeldInput();
    updateAudio();
    catchUpGameTime();
    glutPostRedisplay();
}
