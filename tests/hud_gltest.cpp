#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "hud/font.h"
#include "hud/hud.h"
#include "player/player.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/levels.h"
#include "tests/support/gl_context.h"

namespace {

const int kWindow = 256;  // the test window's size in pixels

using Picture = std::vector<std::string>;

class GlTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        if (fontBase == 0) buildFont();
        glViewport(0, 0, kWindow, kWindow);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWindow, 0, kWindow, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static void drawAt(int x, int y, const char* text) {
        glColor3f(1, 1, 1);
        glRasterPos2i(x, y);
        drawText(text);
    }

    // The window's pixels as '#' (red above the threshold) and '.', bottom row first.
    static Picture lit(int threshold = 128) {
        std::vector<unsigned char> rgb(kWindow * kWindow * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWindow, kWindow, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        Picture rows(kWindow, std::string(kWindow, '.'));
        for (int i = 0; i < kWindow * kWindow; ++i) rows[i / kWindow][i % kWindow] = rgb[i * 3] > threshold ? '#' : '.';
        return rows;
    }

    // The w x h block whose bottom left pixel is (x, y), top row first.
    static Picture block(const Picture& window, int x, int y, int w, int h) {
        Picture rows;
        for (int row = y + h - 1; row >= y; --row) rows.push_back(window[row].substr(x, w));
        return rows;
    }

    static int count(const Picture& picture) {
        int lit = 0;
        for (const std::string& row : picture) lit += int(std::count(row.begin(), row.end(), '#'));
        return lit;
    }

    // A 10 x 13 text cell whose raster position was (x, y).
    static Picture cell(const Picture& window, int x, int y) { return block(window, x, y - 2, 10, 13); }
};

using FontTest = GlTest;

TEST_F(FontTest, GlyphsStandUprightOnTheirBaselineAndAdvanceTenPixels) {
    drawAt(20, 100, "WZ");
    const Picture window = lit();
    const Picture w = {"##....##..", "##....##..", "##....##..", "##....##..", "##....##..", "##.##.##..", "##.##.##..",
                       "########..", "########..", "###..###..", "##....##..", "..........", ".........."};
    const Picture z = {"########..", "......##..", "......##..", ".....##...", "....##....", ".######...", "..##......",
                       ".##.......", "##........", "##........", "########..", "..........", ".........."};
    EXPECT_EQ(cell(window, 20, 100), w);
    EXPECT_EQ(cell(window, 30, 100), z);
}

TEST_F(FontTest, EveryLetterHasItsOwnGlyphAndTheSpaceIsBlank) {
    drawAt(5, 130, "ABCDEFGHIJKLM");
    drawAt(5, 100, "NOPQRSTUVWXYZ ");
    const Picture window = lit();
    std::vector<Picture> seen;
    for (int i = 0; i < 26; ++i) {
        SCOPED_TRACE(std::string(1, char('A' + i)));
        const int x = 5 + 10 * (i % 13), y = i < 13 ? 130 : 100;
        EXPECT_EQ(count(block(window, x, y - 2, 10, 2)), 0);     // two blank rows at the bottom
        EXPECT_EQ(count(block(window, x + 8, y - 2, 2, 13)), 0);  // the gap
        const Picture glyph = cell(window, x, y);
        for (const Picture& other : seen) EXPECT_NE(glyph, other);
        seen.push_back(glyph);
    }
    EXPECT_EQ(count(cell(window, 135, 100)), 0);  // the space
}

TEST_F(FontTest, CharactersWithoutAGlyphDrawNothingAndTakeNoRoom) {
    // A list where a high character code would land, had the font called past its block.
    glNewList(fontBase + 200, GL_COMPILE);
    const std::vector<unsigned char> solid(13, 0xff);
    glBitmap(8, 13, 0, 2, 10, 0, solid.data());
    glEndList();
    const std::pair<const char*, int> cases[] = {{"abc", 0}, {"0123:.,!", 0}, {"\xc8\x80\xff", 0}, {"FPS: ", 40}, {"a B", 20}};
    for (const auto& [text, advance] : cases) {
        SCOPED_TRACE(text);
        glClear(GL_COLOR_BUFFER_BIT);
        drawAt(30, 100, text);
        float raster[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
        EXPECT_EQ(raster[0], 30.0f + float(advance));
        EXPECT_EQ(raster[1], 100.0f);
        if (advance == 0) {
            EXPECT_EQ(count(lit()), 0);
        }
    }
    glDeleteLists(fontBase + 200, 1);
}

class HudTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        player.health = 50;
        player.boostPoints = 200;
        player.ammo = 5;
        renderOptions = RenderOptions();
        framesPerSecond = 62;
        play();
    }

    static void play() { levelIntroVisible = gameOver = levelComplete = startRequested = restartRequested = false; }

    static Picture frame(int threshold = 128) {
        glClear(GL_COLOR_BUFFER_BIT);
        drawHud();
        return lit(threshold);
    }

    // Whether the pixel at overlay units (1420 x 800, y down) is lit.
    static bool litAt(const Picture& window, float x, float y) {
        return window[int((800 - y) * kWindow / 800)][int(x * kWindow / 1420)] == '#';
    }

    // Lit pixels where the frame-rate read-out goes, near the top left corner.
    static int readOut(const Picture& window) { return count(block(window, 0, kWindow - 9, 140, 9)); }
};

TEST_F(HudTest, MetersAndReadOutShowOnlyDuringPlay) {
    renderOptions.fpsVisible = true;
    EXPECT_TRUE(litAt(frame(150), 235, 500));  // health 50 fills the bar from 595 up to 405
    Picture dim = frame(20);
    EXPECT_FALSE(litAt(dim, 235, 380));
    EXPECT_FALSE(litAt(dim, 1185, 500));  // the boost bar is green
    EXPECT_GT(readOut(frame()), 20);

    framesPerSecond = 0;  // not measured yet
    EXPECT_EQ(readOut(frame()), 0);

    levelComplete = true;  // the level is won: the next banner follows, no meters now
    dim = frame(20);
    levelNumber = 1;
    EXPECT_FALSE(litAt(dim, 235, 500));
    EXPECT_TRUE(levelIntroVisible);
}

TEST_F(HudTest, PicturesBecomeTexturesOnceNotEveryFrame) {
    auto everyScreen = [] {
        renderOptions.helpVisible = true;
        drawHud();
        renderOptions.helpVisible = false;
        for (levelNumber = 1; levelNumber <= 4; ++levelNumber) {
            levelIntroVisible = true;
            drawHud();
        }
        levelNumber = 1;
        play();
        gameOver = true;
        drawHud();
        play();
        drawHud();  // meters and charge icons
    };
    everyScreen();
    GLuint probe = 0;
    glGenTextures(1, &probe);
    glDeleteTextures(1, &probe);
    for (int frame = 0; frame < 40; ++frame) everyScreen();
    int made = 0;
    for (GLuint name = probe; name < probe + 400; ++name) made += glIsTexture(name);
    EXPECT_EQ(made, 0);
}

}  // namespace
