#include "hud/hud.h"

#include <GL/glew.h>

#include <cstring>

#include "assets/camera.h"
#include "assets/render_options.h"
#include "assets/textures.h"
#include "hud/font.h"
#include "player/player.h"
#include "world/scene.h"

namespace {

// The overlay's own coordinates: the window's design size, y growing downward.
const float kOverlayWidth = kDesignWidth;
const float kOverlayHeight = kDesignHeight;

enum Picture { kHelp, kGameOver, kLevel1, kLevel2, kLevel3, kVictory, kChargeIcon, kPictureCount };

const char* const kPictureFiles[kPictureCount] = {
    "resources/help.bmp",   "resources/gameover.bmp", "resources/level1.bmp",
    "resources/level2.bmp", "resources/level3.bmp",   "resources/victory.bmp",
    "resources/raygun.bmp",
};

const int kFpsTextX = 20;
const int kFpsTextY = 20;

// Meter columns; both bars grow upward from kBarBottom.
const float kMeterTop = 200;
const float kMeterBottom = 600;
const float kBarInset = 5;
const float kBarBottom = kMeterBottom - kBarInset;
const float kBarZero = kMeterBottom + kBarInset;  // a bar's top edge at 0 points
const float kHealthLeft = 210;
const float kBoostLeft = 1160;
const float kMeterWidth = 50;
const float kHealthPixelsPerPoint = 4;
const float kBoostPixelsPerPoint = 1;
const float kBackgroundAlpha = 0.2f;
const float kBarAlpha = 0.8f;

// Where a won level's time stands on the banner after it.
const float kLevelTimeBaseline = 770;

// The band behind the word PAUSED, and where the word stands on it.
const float kPausedTop = 370;
const float kPausedBottom = 420;
const float kPausedBaseline = 402;
const float kPausedBandAlpha = 0.6f;

// One icon per laser charge along the bottom edge.
const float kIconLeft = 560;
const float kIconPitch = 60;
const float kIconSize = 50;
const float kIconTop = 750;

// Each picture becomes a texture the first time it shows and is kept for the
// run, so showing a picture every frame costs no file read and no new texture.
unsigned int pictureTexture(Picture picture) { return textureFromBmp(kPictureFiles[picture]); }

// Texture row 0, the image's first row, lies along the top edge of the screen.
void drawFullScreen(Picture picture) {
    unsigned int texture = pictureTexture(picture);
    glEnable(GL_TEXTURE_2D);
    bindLinear(texture);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(0, 0);
    glTexCoord2f(1, 0); glVertex2f(kOverlayWidth, 0);
    glTexCoord2f(1, 1); glVertex2f(kOverlayWidth, kOverlayHeight);
    glTexCoord2f(0, 1); glVertex2f(0, kOverlayHeight);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

Picture bannerPicture(int bannerLevel) {
    switch (bannerLevel) {
    case 1: return kLevel1;
    case 2: return kLevel2;
    case 3: return kLevel3;
    default: return kVictory;
    }
}

void enter2d() {
    disableSceneState();
    // The meters and the read-out are plain colours: no texture the scene left bound may tint them.
    glDisable(GL_TEXTURE_2D);
    if (!renderOptions.transparencyOff) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, kOverlayWidth, kOverlayHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void leave2d() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    enableSceneState();
    glDisable(GL_BLEND);
}

void drawRect(float left, float top, float right, float bottom) {
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
}

// A dim column with a bar inside it; a meter past its full mark pokes out above.
void drawMeter(float left, float barTop, float red, float green) {
    glColor4f(0, 0, 0, kBackgroundAlpha);
    drawRect(left, kMeterTop, left + kMeterWidth, kMeterBottom);
    glColor4f(red, green, 0, kBarAlpha);
    drawRect(left + kBarInset, barTop, left + kMeterWidth - kBarInset, kBarBottom);
}

// The icon picture lies on its side: its first texture axis runs down the screen.
void drawChargeIcons() {
    unsigned int texture = pictureTexture(kChargeIcon);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    bindLinearClamped(texture);
    glBegin(GL_QUADS);
    for (int32_t i = 0; i < player.ammo; ++i) {
        float x0 = kIconLeft + kIconPitch * static_cast<float>(i);
        glTexCoord2f(0, 0); glVertex2f(x0, kIconTop);
        glTexCoord2f(0, 1); glVertex2f(x0 + kIconSize, kIconTop);
        glTexCoord2f(1, 1); glVertex2f(x0 + kIconSize, kIconTop + kIconSize);
        glTexCoord2f(1, 0); glVertex2f(x0, kIconTop + kIconSize);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void drawMeters() {
    drawMeter(kHealthLeft, kBarZero - kHealthPixelsPerPoint * static_cast<float>(player.health), 1, 0);
    drawMeter(kBoostLeft, kBarZero - kBoostPixelsPerPoint * static_cast<float>(player.boostPoints), 0, 1);
    drawChargeIcons();
}

// White letters in the middle of the screen, on a dim band so they read over any picture.
void drawPaused() {
    const char* const word = "PAUSED";
    glEnable(GL_BLEND);
    glColor4f(0, 0, 0, kPausedBandAlpha);
    drawRect(0, kPausedTop, kOverlayWidth, kPausedBottom);
    glColor3f(1, 1, 1);
    glRasterPos2f((kOverlayWidth - kGlyphAdvance * float(std::strlen(word))) / 2, kPausedBaseline);
    drawText(word);
}

// Along the banner's foot, centred.
void drawLevelTime(const std::string& line) {
    glColor3f(1, 1, 1);
    glRasterPos2f((kOverlayWidth - kGlyphAdvance * float(line.size())) / 2, kLevelTimeBaseline);
    drawText(line.c_str());
}

void drawFrameRate(int framesPerSecond) {
    glColor3f(1, 1, 1);
    glRasterPos2i(kFpsTextX, kFpsTextY);
    drawText(frameRateText(framesPerSecond).c_str());
}

const char* const kTensWords[10] = {"", "", "TWENTY", "THIRTY", "FOURTY",
                                    "FIFTY", "SIXTY", "SEVENTY", "EIGHTY", "NINTY"};
const char* const kUnitWords[10] = {"", "ONE", "TWO", "THREE", "FOUR",
                                    "FIVE", "SIX", "SEVEN", "EIGHT", "NINE"};
const char* const kTeenWords[10] = {"TEN", "ELEVEN", "TWELVE", "THIRTEEN", "FOURTEEN",
                                    "FIFTEEN", "SIXTEEN", "SEVENTEEN", "EIGHTEEN", "NINETEEN"};

}  // namespace

// Rates of 100 and more have no tens word; only the units digit is spelled.
std::string frameRateText(int framesPerSecond) {
    std::string text = "FPS: ";
    if (framesPerSecond < 0) return text;
    if (framesPerSecond >= 10 && framesPerSecond < 20) return text + kTeenWords[framesPerSecond - 10];
    int tens = framesPerSecond / 10;
    if (tens < 10) text += kTensWords[tens];
    return text + kUnitWords[framesPerSecond % 10];
}

bool hudCoversScene(const HudScreen& screen) {
    return !renderOptions.wireframe && (renderOptions.helpVisible || screen.gameOverPicture || screen.bannerLevel);
}

void drawHud(const HudScreen& screen) {
    enter2d();
    if (renderOptions.helpVisible) drawFullScreen(kHelp);
    if (screen.gameOverPicture) drawFullScreen(kGameOver);
    if (screen.bannerLevel) drawFullScreen(bannerPicture(*screen.bannerLevel));
    if (screen.bannerLevel && !screen.wonLine.empty()) drawLevelTime(screen.wonLine);
    if (renderOptions.fpsVisible && screen.framesPerSecond != 0) drawFrameRate(screen.framesPerSecond);
    if (screen.meters && !renderOptions.helpVisible) drawMeters();
    if (screen.paused) drawPaused();
    leave2d();
}
