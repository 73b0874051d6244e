#include "assets/textures.h"

#include <GL/gl.h>

#include <map>
#include <memory>
#include <string>

#include "assets/bmp_reader.h"

namespace {

std::map<std::string, unsigned int> texturesByPath;

}  // namespace

unsigned int uploadRgbTexture(const RgbImage& image) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image.pixels.empty() ? nullptr : image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return texture;
}

unsigned int textureFromBmp(const char* path) {
    auto [known, added] = texturesByPath.emplace(path, 0);
    if (added) known->second = uploadRgbTexture(*loadBmp(path));
    return known->second;
}

void bindLinear(unsigned int texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    setBoundTextureFilters(GL_LINEAR, GL_LINEAR);
}

void bindLinearClamped(unsigned int texture) {
    bindLinear(texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void setBoundTextureFilters(int minFilter, int magFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

void setBoundTextureMinFilter(int minFilter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
}
