#include "shell/input.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "audio/sounds.h"
#include "player/player.h"
#include "player/weapon.h"
#include "shell/frame_render.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "core/messages.h"

KeyState keys;
bool rightButtonDown;
RenderOptions renderOptions;

namespace {

const unsigned char kEscape = 27;
const unsigned char kFireKey = ' ';

// Which keys are down. A press of a key that is already down is the keyboard's
// auto-repeat: it neither fires nor toggles again. Letters count as one key in
// either case, since Shift may change between the press and the release.
bool characterKeyDown[256];
bool specialKeyDown[256];

// The drive logic reads held flags once a step. A press and release that both
// fall between two steps still drive for that one step: the release waits.
bool* const drivingFlags[] = {&keys.forward, &keys.left, &keys.backward, &keys.right, &rightButtonDown};
const int kDrivingFlagCount = sizeof drivingFlags / sizeof drivingFlags[0];
bool pressUnseenByStep[kDrivingFlagCount];
bool releaseAfterStep[kDrivingFlagCount];

int drivingFlagIndex(const bool* flag) {
    for (int i = 0; i < kDrivingFlagCount; ++i) {
        if (drivingFlags[i] == flag) return i;
    }
    return 0;
}

// A press after a release that waits for the step cancels that release: the key is held again.
void pressDrivingFlag(bool* flag) {
    const int i = drivingFlagIndex(flag);
    *flag = true;
    pressUnseenByStep[i] = true;
    releaseAfterStep[i] = false;
}

void releaseDrivingFlag(bool* flag) {
    int i = drivingFlagIndex(flag);
    if (pressUnseenByStep[i]) {
        releaseAfterStep[i] = true;
    } else {
        *flag = false;
    }
}

unsigned char keyIdentity(unsigned char key) {
    return (key >= 'A' && key <= 'Z') ? key - 'A' + 'a' : key;
}

// Marks the key down; false when it already was (an auto-repeat).
bool firstPress(bool (&down)[256], int key) {
    if (key < 0 || key > 255 || down[key]) return false;
    down[key] = true;
    return true;
}

void markReleased(bool (&down)[256], int key) {
    if (key >= 0 && key <= 255) down[key] = false;
}

// The F8 view range, in the window's design shape.
const double kDesignAspect = double(kDesignWidth) / double(kDesignHeight);
const double kShortNear = 1.0;
const double kShortFar = 200.0;

// Release arrives as a capital while Shift or Caps Lock is on, so both cases
// let go of a driving key; otherwise the car would drive on by itself.
bool* drivingKeyFlag(unsigned char key, bool acceptCapitals) {
    if (acceptCapitals && key >= 'A' && key <= 'Z') key = key - 'A' + 'a';
    switch (key) {
    case 'w': return &keys.forward;
    case 'a': return &keys.left;
    case 's': return &keys.backward;
    case 'd': return &keys.right;
    default: return nullptr;
    }
}

void setTextureFilters(GLint minFilter, GLint magFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

void toggleWireframe() {
    glPolygonMode(GL_FRONT_AND_BACK, renderOptions.wireframe ? GL_FILL : GL_LINE);
    renderOptions.wireframe = !renderOptions.wireframe;
}

void toggleFiltering() {
    if (renderOptions.bilinearFiltering) {
        say("Switched to nearest neighbor texture sampling");
        setTextureFilters(GL_NEAREST, GL_NEAREST);
    } else {
        say("Switched to bilinear texture sampling");
        setTextureFilters(GL_LINEAR, GL_LINEAR);
    }
    renderOptions.bilinearFiltering = !renderOptions.bilinearFiltering;
}

// "Off" falls back to the plain filter that the filtering toggle currently names.
void cycleMipmapping() {
    switch (renderOptions.mipmapMode) {
    case 0:
        say("Mipmapping is off");
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        renderOptions.bilinearFiltering ? GL_LINEAR : GL_NEAREST);
        renderOptions.mipmapMode = 1;
        break;
    case 1:
        say("Mipmapping is nearest neighbor");
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
        renderOptions.mipmapMode = 2;
        break;
    default:
        say("Mipmapping is linear");
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        renderOptions.mipmapMode = 0;
        break;
    }
}

void toggleFog() {
    if (renderOptions.fogEnabled) {
        glDisable(GL_FOG);
    } else {
        glEnable(GL_FOG);
    }
    renderOptions.fogEnabled = !renderOptions.fogEnabled;
}

void toggleViewRange() {
    if (renderOptions.frustumCullingOff) {
        say("Frustum Culling on");
        setProjection(kDesignAspect, kNearPlane, kFarPlane);
    } else {
        say("Frustum Culling off");
        setProjection(kDesignAspect, kShortNear, kShortFar);
    }
    renderOptions.frustumCullingOff = !renderOptions.frustumCullingOff;
}

// The HUD and the sky box set blending and depth testing again every frame;
// what lasts is the flag that tells the HUD to leave blending alone.
void toggleTransparency() {
    if (renderOptions.transparencyOff) {
        say("Transparancy on");
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    } else {
        say("Transparancy off");
        glEnable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
    }
    renderOptions.transparencyOff = !renderOptions.transparencyOff;
}

void requestLevelStart() {
    if (levelIntroVisible) startRequested = true;
    if (gameOver) restartRequested = true;
}

void toggleMusic() {
    setChannelPaused(musicChannel1, musicPlaying);
    musicPlaying = !musicPlaying;
}

void quitGame() {
    releaseAudio();
    std::exit(0);
}

}  // namespace

void onKeyDown(unsigned char key, int, int) {
    catchUpGameTime();
    if (!firstPress(characterKeyDown, keyIdentity(key))) return;
    if (bool* flag = drivingKeyFlag(key, false)) {
        pressDrivingFlag(flag);
        return;
    }
    switch (key) {
    case kEscape: quitGame(); break;
    case kFireKey: fireLaser(); break;
    case 'c': player.cameraPulledBack = !player.cameraPulledBack; break;
    case 'm': toggleMusic(); break;
    default: break;
    }
}

void onKeyUp(unsigned char key, int, int) {
    catchUpGameTime();
    markReleased(characterKeyDown, keyIdentity(key));
    if (bool* flag = drivingKeyFlag(key, true)) releaseDrivingFlag(flag);
}

void onSpecialKey(int key, int, int) {
    catchUpGameTime();
    if (!firstPress(specialKeyDown, key)) return;
    switch (key) {
    case GLUT_KEY_F1: renderOptions.helpVisible = !renderOptions.helpVisible; break;
    case GLUT_KEY_F2: renderOptions.fpsVisible = !renderOptions.fpsVisible; break;
    case GLUT_KEY_F3: toggleWireframe(); break;
    case GLUT_KEY_F4: toggleFiltering(); break;
    case GLUT_KEY_F5: cycleMipmapping(); break;
    case GLUT_KEY_F6: toggleFog(); break;
    case GLUT_KEY_F8: toggleViewRange(); break;
    case GLUT_KEY_F9: toggleTransparency(); break;
    case GLUT_KEY_HOME: requestLevelStart(); break;
    default: break;
    }
}

void onSpecialKeyUp(int key, int, int) {
    markReleased(specialKeyDown, key);
}

void onMouse(int button, int state, int, int) {
    catchUpGameTime();
    if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) fireLaser();
    if (button != GLUT_RIGHT_BUTTON) return;
    if (state == GLUT_DOWN) {
        pressDrivingFlag(&rightButtonDown);
    } else {
        releaseDrivingFlag(&rightButtonDown);
    }
}

void releaseHeldInput() {
    for (bool* flag : drivingFlags) releaseDrivingFlag(flag);
    std::fill(std::begin(characterKeyDown), std::end(characterKeyDown), false);
    std::fill(std::begin(specialKeyDown), std::end(specialKeyDown), false);
}

void releaseKeysTappedWithinStep() {
    for (int i = 0; i < kDrivingFlagCount; ++i) {
        if (releaseAfterStep[i]) *drivingFlags[i] = false;
        releaseAfterStep[i] = false;
        pressUnseenByStep[i] = false;
    }
}
