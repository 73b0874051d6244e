// The overlay on a plain GL context: the font's letters against a stored picture, and the meters' colours.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <fstream>

#include "hud/font.h"
#include "hud/hud.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "tests/support/gl_context.h"
#include "world/levels.h"

// The stored picture holds the alphabet in two lines of 13 letters, 10 pixels a letter and 13 rows a line, as a
// binary PBM: rows top first, a bit set where lit.
TEST(Font, LettersMatchTheStoredAlphabet) {
    ensureGlContext();
    buildFont();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kGlWindowSize, 0, kGlWindowSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    for (const auto& [y, letters] : {std::pair{102, "ABCDEFGHIJKLM"}, {89, "NOPQRSTUVWXYZ"}}) {
        glRasterPos2i(5, y);
        drawText(letters);
    }
    std::string bits(17 * 26, '\0');
    for (int row = 0; row < 26; ++row)
        for (int column = 0; column < 130; ++column)
            if (pixelAt(5 + column, 112 - row)[0] > 128) bits[row * 17 + column / 8] |= char(0x80 >> column % 8);
    std::ifstream file("tests/data/font_alphabet.pbm", std::ios::binary);
    EXPECT_EQ("P4\n130 26\n" + bits, std::string(std::istreambuf_iterator<char>(file), {}));
}

// The scene leaves a texture bound and texturing on; the victory banner comes and goes. The bars stand at 0.8 over
// their backgrounds at 0.2, over black: 204 of 255; the read-out is white.
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
        std::tie(player.health, player.boostPoints) = std::make_pair(50, 200);
        drawHud();
    }
    EXPECT_EQ(pixelAt(235 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{204, 0, 0}));
    EXPECT_EQ(pixelAt(1185 * kGlWindowSize / kDesignWidth, 300 * kGlWindowSize / kDesignHeight), (Pixel{0, 204, 0}));
    Pixel brightest = {};
    for (int x = 0; x < 140; ++x) brightest = std::max(brightest, pixelAt(x, kGlWindowSize - 4));
    EXPECT_EQ(brightest, (Pixel{255, 255, 255}));
    levelNumber = 1;
}
