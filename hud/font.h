#pragma once
// Capital letters and the space as 8 x 13 raster bitmaps in display lists.

extern unsigned int fontBase;  // first of 128 list names; list fontBase + c draws c

void buildFont();
// Draws at the current raster position; characters without a glyph take no room.
void drawText(const char* text);
