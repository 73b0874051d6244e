#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "hud/font.h"
#include "hud/hud.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/levels.h"
#include "tests/support/gl_context.h"

namespace {

void drawAt(int x, int y, const char* text) {
    glColor3f(1, 1, 1);
    glRasterPos2i(x, y);
    drawText(text);
}

// The w x h block whose bottom left pixel is (x, y) as binary PBM rows, top row first: a bit set where lit.
std::string litBits(int x, int y, int w, int h) {
    const int rowBytes = (w + 7) / 8;
    std::string bits(size_t(rowBytes * h), '\0');
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            if (pixelAt(x + column, y + h - 1 - row)[0] > 128) bits[row * rowBytes + column / 8] |= char(0x80 >> column % 8);
        }
    }
    return bits;
}

}  // namespace

// The stored picture holds the alphabet in two lines of 13 letters, 10 pixels
// a letter and 13 rows a line, as a binary PBM.
TEST(Font, LettersMatchTheStoredAlphabet) {
    ensureGlContext();
    buildFont();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kGlWindowSize, 0, kGlWindowSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
    drawAt(5, 102, "ABCDEFGHIJKLM");
    drawAt(5, 89, "NOPQRSTUVWXYZ");
    std::ifstream file("tests/data/font_alphabet.pbm", std::ios::binary);
    EXPECT_EQ("P4\n130 26\n" + litBits(5, 87, 130, 26), std::string(std::istreambuf_iterator<char>(file), {}));
}

// The scene leaves a texture bound and texturing on; the victory banner comes and goes.
TEST(Hud, MetersAndReadOutKeepTheirColoursAfterTheVictoryBanner) {
    ensureGlContext();
    levelNumber = 4;
    levelIntroVisible = renderOptions.fpsVisible = true;
    framesPerSecond = 88;
    for (bool confirm : {false, true, false}) {
        startRequested = confirm;
        glEnable(GL_TEXTURE_2D);
        solidTexture(100, 50, 20);
        glClear(GL_COLOR_BUFFER_BIT);
        player.health = 50;
        player.boostPoints = 200;
        drawHud();
    }
    // Bars at 0.8 over their backgrounds at 0.2, over black: 204 of 255.
    EXPECT_EQ(pixelAt(235 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{204, 0, 0}));
    EXPECT_EQ(pixelAt(1185 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{0, 204, 0}));
    Pixel brightest = {};
    for (int x = 0; x < 140; ++x) brightest = std::max(brightest, pixelAt(x, kGlWindowSize - 4));
    EXPECT_EQ(brightest, (Pixel{255, 255, 255}));
    levelNumber = 1;
}
