#pragma once
// Capital letters, the space, digits and the point as 8 x 13 raster bitmaps in
// display lists.

// Each glyph moves the raster position this far: 8 pixels of letter, 2 of gap.
const float kGlyphAdvance = 10;

extern unsigned int fontBase;  // first of 128 list names; list fontBase + c draws c
// 8 x 13 glyphs of 'A' to 'Z': one byte a row, bottom row first, leftmost pixel in the top bit.
extern const unsigned char fontLetterRows[26][13];

void buildFont();
// Draws at the current raster position; characters without a glyph take no room.
void drawText(const char* text);
