#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>
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

    static std::vector<unsigned char> readRed() {
        std::vector<unsigned char> rgb(kWindow * kWindow * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWindow, kWindow, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        std::vector<unsigned char> red(kWindow * kWindow);
        for (size_t i = 0; i < red.size(); ++i) red[i] = rgb[i * 3];
        return red;
    }

    // The lit pixels of a 10 x 13 cell whose raster position was (x, y), top row
    // first, as '#' and '.'; window rows count upward.
    static std::vector<std::string> cell(const std::vector<unsigned char>& red, int x, int y) {
        std::vector<std::string> rows;
        for (int row = y + 10; row >= y - 2; --row) {
            std::string line;
            for (int col = x; col < x + 10; ++col) line += red[row * kWindow + col] > 128 ? '#' : '.';
            rows.push_back(line);
        }
        return rows;
    }

    static int litPixels(const std::vector<unsigned char>& red) {
        int lit = 0;
        for (unsigned char r : red) lit += r > 128;
        return lit;
    }
};

using FontTest = GlTest;

TEST_F(FontTest, GlyphsStandUprightOnTheirBaselineAndAdvanceTenPixels) {
    drawAt(20, 100, "WZ");
    std::vector<unsigned char> red = readRed();
    const std::vector<std::string> w = {
        "##....##..", "##....##..", "##....##..", "##....##..", "##....##..", "##.##.##..",
        "##.##.##..", "########..", "########..", "###..###..", "##....##..", "..........",
        "..........",
    };
    const std::vector<std::string> z = {
        "########..", "......##..", "......##..", ".....##...", "....##....", ".######...",
        "..##......", ".##.......", "##........", "##........", "########..", "..........",
        "..........",
    };
    EXPECT_EQ(cell(red, 20, 100), w);
    EXPECT_EQ(cell(red, 30, 100), z);
}

TEST_F(FontTest, EveryLetterHasItsOwnGlyphAndTheSpaceIsBlank) {
    drawAt(5, 130, "ABCDEFGHIJKLM");
    drawAt(5, 100, "NOPQRSTUVWXYZ");
    drawAt(5, 60, " ");
    std::vector<unsigned char> red = readRed();
    std::vector<std::vector<std::string>> seen;
    for (int i = 0; i < 26; ++i) {
        SCOPED_TRACE(std::string(1, static_cast<char>('A' + i)));
        std::vector<std::string> glyph = cell(red, 5 + 10 * (i % 13), i < 13 ? 130 : 100);
        EXPECT_EQ(glyph[11] + glyph[12], std::string(20, '.'));  // two blank rows at the bottom
        for (const std::string& row : glyph) EXPECT_EQ(row.substr(8), "..");  // the gap
        for (const auto& other : seen) EXPECT_NE(glyph, other);
        seen.push_back(glyph);
    }
    std::vector<std::string> space = cell(red, 5, 60);
    for (const std::string& row : space) EXPECT_EQ(row, "..........");
}

TEST_F(FontTest, CharactersWithoutAGlyphDrawNothingAndTakeNoRoom) {
    // A list where a high character code would land, had the font called past its block.
    glNewList(fontBase + 200, GL_COMPILE);
    const std::vector<unsigned char> solid(13, 0xff);
    glBitmap(8, 13, 0, 2, 10, 0, solid.data());
    glEndList();

    const struct {
        const char* text;
        int advance;
    } cases[] = {
        {"abc", 0}, {"0123:.,!", 0}, {"\xc8\x80\xff", 0}, {"FPS: ", 40}, {"a B", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        glClear(GL_COLOR_BUFFER_BIT);
        drawAt(30, 100, c.text);
        float raster[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
        EXPECT_EQ(raster[0], 30.0f + static_cast<float>(c.advance));
        EXPECT_EQ(raster[1], 100.0f);
        if (c.advance == 0) {
            EXPECT_EQ(litPixels(readRed()), 0);
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

    void TearDown() override {
        levelIntroVisible = true;
        gameOver = levelComplete = startRequested = restartRequested = false;
        renderOptions = RenderOptions();
    }

    static void play() {
        levelIntroVisible = gameOver = levelComplete = startRequested = restartRequested = false;
    }

    static std::vector<unsigned char> frame() {
        glClear(GL_COLOR_BUFFER_BIT);
        drawHud();
        return readRed();
    }

    // Overlay units (1420 x 800, y down) to the test window's pixels.
    static unsigned char at(const std::vector<unsigned char>& red, float x, float y) {
        int col = static_cast<int>(x * kWindow / 1420);
        int row = static_cast<int>((800 - y) * kWindow / 800);
        return red[row * kWindow + col];
    }

    // Lit pixels where the frame-rate read-out goes, near the top left corner.
    static int readOutPixels(const std::vector<unsigned char>& red) {
        int lit = 0;
        for (int row = kWindow - 9; row < kWindow; ++row)
            for (int col = 0; col < 140; ++col) lit += red[row * kWindow + col] > 128;
        return lit;
    }
};

TEST_F(HudTest, MetersAndReadOutShowOnlyDuringPlay) {
    renderOptions.fpsVisible = true;
    std::vector<unsigned char> red = frame();
    EXPECT_GT(at(red, 235, 500), 150);  // health 50 fills the bar from 595 up to 405
    EXPECT_LT(at(red, 235, 380), 20);
    EXPECT_LT(at(red, 1185, 500), 20);  // the boost bar is green
    EXPECT_GT(readOutPixels(red), 20);

    framesPerSecond = 0;  // not measured yet
    EXPECT_EQ(readOutPixels(frame()), 0);

    levelComplete = true;  // the level is won: the next banner follows, no meters now
    red = frame();
    levelNumber = 1;
    EXPECT_LT(at(red, 235, 500), 20);
    EXPECT_TRUE(levelIntroVisible);
}

TEST_F(HudTest, PicturesBecomeTexturesOnceNotEveryFrame) {
    auto everyScreen = [] {
        renderOptions.helpVisible = true;
        drawHud();
        renderOptions.helpVisible = false;
        for (int number = 1; number <= 4; ++number) {
            levelNumber = number;
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
