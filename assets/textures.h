#pragma once
// Textures of the game's BMP pictures (sky, grounds, overlays), made once and
// kept, and the way each is bound to be drawn.

struct RgbImage;

// A new texture holding the image at level 0; stays bound; no parameters set.
// Rows are packed, so the upload uses an unpack alignment of 1 and restores the caller's.
unsigned int uploadRgbTexture(const RgbImage& image);
// The picture's texture, made from its file the first time and kept for the run.
// A file that cannot be read gives an empty texture, as the BMP reader says.
unsigned int textureFromBmp(const char* path);

// Binds the texture and filters it linearly both ways, as every picture is drawn.
void bindLinear(unsigned int texture);
// The same, its edges clamped so no texel of the opposite edge bleeds in.
void bindLinearClamped(unsigned int texture);
// The filters of the texture bound now: the F4 and F5 keys act on it alone.
void setBoundTextureFilters(int minFilter, int magFilter);
void setBoundTextureMinFilter(int minFilter);
