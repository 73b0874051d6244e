#include "shell/input.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "assets/camera.h"
#include "assets/fog.h"
#include "assets/render_options.h"
#include "assets/textures.h"
#include "audio/sounds.h"
#include "platform/messages.h"
#include "player/controls.h"
#include "player/player.h"
#include "player/weapon.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"

namespace {

const unsigned char kEscape = 27;
const unsigned char kFireKey = ' ';

// The F8 view range, in the window's design shape.
const double kDesignAspect = double(kDesignWidth) / double(kDesignHeight);
const double kShortNear = 1.0;
const double kShortFar = 200.0;

// Which keys are down. A press of a key that is already down is the keyboard's
// auto-repeat: it neither fires nor toggles again. Letters count as one key in
// either case, since Shift may change between the press and the release.
bool characterKeyDown[256];
bool specialKeyDown[256];

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

// Release arrives as a capital while Shift or Caps Lock is on, so both cases
// let go of a driving key; otherwise the car would drive on by itself.
std::optional<Control> drivingControl(unsigned char key, bool acceptCapitals) {
    if (acceptCapitals) key = keyIdentity(key);
    switch (key) {
    case 'w': return Control::forward;
    case 'a': return Control::left;
    case 's': return Control::backward;
    case 'd': return Control::right;
    default: return std::nullopt;
    }
}

void toggleWireframe() {
    glPolygonMode(GL_FRONT_AND_BACK, renderOptions.wireframe ? GL_FILL : GL_LINE);
    renderOptions.wireframe = !renderOptions.wireframe;
}

void toggleFiltering() {
    if (renderOptions.bilinearFiltering) {
        say("Switched to nearest neighbor texture sampling");
        setBoundTextureFilters(GL_NEAREST, GL_NEAREST);
    } else {
        say("Switched to bilinear texture sampling");
        setBoundTextureFilters(GL_LINEAR, GL_LINEAR);
    }
    renderOptions.bilinearFiltering = !renderOptions.bilinearFiltering;
}

// "Off" falls back to the plain filter that the filtering toggle currently names.
void cycleMipmapping() {
    switch (renderOptions.mipmapMode) {
    case 0:
        say("Mipmapping is off");
        setBoundTextureMinFilter(renderOptions.bilinearFiltering ? GL_LINEAR : GL_NEAREST);
        renderOptions.mipmapMode = 1;
        break;
    case 1:
        say("Mipmapping is nearest neighbor");
        setBoundTextureMinFilter(GL_NEAREST_MIPMAP_NEAREST);
        renderOptions.mipmapMode = 2;
        break;
    default:
        say("Mipmapping is linear");
        setBoundTextureMinFilter(GL_LINEAR_MIPMAP_LINEAR);
        renderOptions.mipmapMode = 0;
        break;
    }
}

// Acts on the key's own flag, not on the fog as level start left it: after a
// fogged level start the first press switches on the fog that is already on.
void toggleFog() {
    switchFog(!renderOptions.fogEnabled);
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

// The overlay and the sky box set blending and depth testing again every frame;
// what lasts is the flag that tells the overlay to leave blending alone.
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

void quitGame() {
    releaseAudio();
    std::exit(0);
}

}  // namespace

void onKeyDown(unsigned char key, int, int) {
    catchUpGameTime();
    if (!firstPress(characterKeyDown, keyIdentity(key))) return;
    if (const std::optional<Control> control = drivingControl(key, false)) return pressControl(*control);
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
    if (const std::optional<Control> control = drivingControl(key, true)) releaseControl(*control);
}

void onSpecialKey(int key, int, int) {
    catchUpGameTime();
    if (!firstPress(specialKeyDown, key)) return;
    switch (key) {
    case GLUT_KEY_F1: toggleHelp(); break;
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
    state == GLUT_DOWN ? pressControl(Control::boost) : releaseControl(Control::boost);
}

void requestLevelStart() {
    if (levelIntroVisible) startRequested = true;
    if (gameOver) restartRequested = true;
}

void toggleHelp() { renderOptions.helpVisible = !renderOptions.helpVisible; }

void releaseHeldInput() {
    releaseAllControls();
    std::fill(std::begin(characterKeyDown), std::end(characterKeyDown), false);
    std::fill(std::begin(specialKeyDown), std::end(specialKeyDown), false);
}
