#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "assets/obj_model.h"
#include "shell/shader_program.h"
#include "tests/support/gl_context.h"

namespace {

std::string tempPath(const std::string& name) {
    static char pattern[] = "/tmp/assets_gltest.XXXXXX";
    static const std::string dir = mkdtemp(pattern);
    return dir + "/" + name;
}

void writeFile(const std::string& name, const std::string& bytes) { std::ofstream(tempPath(name)) << bytes; }

// An uncompressed 24-bit TGA, 2 x 2, of one colour given as B G R.
std::string solidTga(const std::string& bgr) {
    return std::string{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0} + bgr + bgr + bgr + bgr;
}

// A square facing the viewer, with smooth normals, painted with a material of paint.mtl.
std::unique_ptr<ObjModel> squareModel(const std::string& name, const std::string& material) {
    writeFile(name + ".obj", "mtllib paint.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\n"
                             "vt 0 1\nusemtl " + material + "\nf 1/1 2/2 3/3 4/4\n");
    std::unique_ptr<ObjModel> model(glmReadOBJ(tempPath(name + ".obj").c_str()));
    glmBuildFacetNormals(model.get());
    glmVertexNormals(model.get());
    return model;
}

// One grey light, colour material and the game's fog (GL_EXP by default), 45 degrees of view.
void lightScene(bool fog) {
    ensureGlContext();
    if (shaderProgram == 0) buildShaderProgram();
    useShaderProgram(0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1, 0.5, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float grey[4] = {0.6f, 0.6f, 0.6f, 1}, haze[4] = {0.9f, 0.7f, 0.5f, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);  // from behind the viewer, as it is by default
    glFogfv(GL_FOG_COLOR, haze);
    glFogf(GL_FOG_DENSITY, 0.004f);
    for (GLenum on : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL}) glEnable(on);
    for (GLenum off : {GL_DEPTH_TEST, GL_TEXTURE_2D}) glDisable(off);
    fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The centre pixel of what draw() gives with the fixed-function pipeline [0] and the game's shader [1].
template <typename Draw>
std::array<Pixel, 2> bothPipelines(bool fog, Draw draw) {
    std::array<Pixel, 2> drawn;
    for (int shader = 0; shader < 2; ++shader) {
        lightScene(fog);
        draw(shader ? shaderProgram : 0);
        drawn[shader] = pixelAt(kGlWindowSize / 2, kGlWindowSize / 2);
        useShaderProgram(0);
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(drawn[1][i], drawn[0][i], 3) << "channel " << i;
    return drawn;
}

}  // namespace

// The shader draws as the fixed-function pipeline does in the same state: a lit
// white square 300 units ahead, a texture bound, fog and texturing on or off.
TEST(Shader, MatchesFixedFunctionWithFogAndTexturingOnOrOff) {
    const struct { bool fog, texturing, textureBound; } states[] = {
        {false, false, true}, {true, false, true}, {false, true, true}, {true, true, true}, {false, true, false}};
    for (const auto& state : states) {
        SCOPED_TRACE(testing::Message() << "fog " << state.fog << ", texturing " << state.texturing
                                        << ", texture bound " << state.textureBound);
        bothPipelines(state.fog, [&](unsigned int program) {
            glBindTexture(GL_TEXTURE_2D, state.textureBound ? solidTexture(120, 255, 60) : 0);
            state.texturing ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
            useShaderProgram(program);
            glColor3f(1, 1, 1);
            glNormal3f(0, 0, 1);
            glTexCoord2f(0.5f, 0.5f);
            glTranslatef(0, 0, -300);
            glRectf(-300, -300, 300, 300);
        });
    }
}

// In either pipeline a model whose texture is missing, a group without a texture
// and a model drawn untextured after a textured one (the vehicle's wheels after
// its body) show the material's own colour.
TEST(Shader, ModelsWithoutATextureShowTheirOwnColour) {
    writeFile("green.tga", solidTga({0, char(200), 0}));
    writeFile("paint.mtl", "newmtl plain\nKd 1 0.5 0.25\nnewmtl lost\nKd 1 0.5 0.25\nmap_Kd absent.tga\n"
                           "newmtl green\nKd 1 0.5 0.25\nmap_Kd green.tga\n");
    auto plain = squareModel("plain", "plain"), lost = squareModel("lost", "lost"), green = squareModel("green", "green");
    const unsigned int textured = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR;
    const struct { ObjModel* model; unsigned int mode; bool ownColour; } draws[] = {
        {lost.get(), textured, true}, {plain.get(), textured, true},
        {plain.get(), GLM_MODE_SMOOTH | GLM_MODE_COLOR, true}, {green.get(), textured, false}};
    Pixel own = {};
    for (const auto& draw : draws) {
        const Pixel drawn = bothPipelines(false, [&](unsigned int program) {
            glTranslatef(0, 0, -2);
            useShaderProgram(program);
            glmDraw(green.get(), textured);  // leaves the green texture bound and texturing on
            glClear(GL_COLOR_BUFFER_BIT);
            glmDraw(draw.model, draw.mode);
        })[1];
        if (&draw == draws) own = drawn;
        EXPECT_EQ(drawn == own, draw.ownColour) << "draw " << &draw - draws;
    }
}
