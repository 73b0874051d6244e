#include <GL/glew.h>
#include <GL/glu.h>

#include <string>

#include "assets/obj_model.h"
#include "assets/tga_reader.h"
#include "platform/message_box.h"
#include "platform/messages.h"

namespace {

// Colour components per pixel of an image format; 0 for a format we do not know.
int componentsOf(uint32_t format) {
    switch (format) {
    case GL_LUMINANCE: return 1;
    case GL_RGB: return 3;
    case GL_RGBA: return 4;
    case GL_BGR: return 3;
    case GL_BGRA: return 4;
    default:
        sayf("glmLoadTexture(): unknown type 0x%x", format);
        return 0;
    }
}

}  // namespace

// A missing image still gives a texture: one white texel, which leaves the model's
// own colours as they are in either pipeline, as if it had no texture.
unsigned int glmLoadTexture(const char* path, float* width, float* height) {
    while (*path == ' ') ++path;
    TextureImage image{};
    loadTgaTexture(path, &image);
    if (image.data.empty()) {
        std::string message = std::string("Nu am putut incarca o textura ") + path + "!";
        showMessageBox(message.c_str(), "ERROR");
        image = TextureImage{};
        image.width = 1;
        image.height = 1;
        image.format = GL_RGB;
        image.data.assign(3, 255);
    }
    int components = componentsOf(image.format);
    glPixelStorei(GL_UNPACK_ALIGNMENT, (components * image.width) % 4 == 0 ? 4 : 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(image.format), GLint(image.width), GLint(image.height), image.format,
                      GL_UNSIGNED_BYTE, image.data.data());
    *width = float(image.width);
    *height = float(image.height);
    return texture;
}
