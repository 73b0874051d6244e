#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "assets/fog.h"
#include "assets/model_draw.h"
#include "assets/obj_model.h"
#include "assets/shader_program.h"
#include "tests/support/gl_context.h"

namespace {

const std::string dir = testing::TempDir();

void writeFile(const std::string& name, const std::string& bytes) { std::ofstream(dir + name) << bytes; }

// A square facing the viewer with smooth normals, once in a group of its own for each material of paint.mtl named.
std::unique_ptr<ObjModel> squareModel(const std::string& name, std::initializer_list<std::string> materials) {
    std::string text = "mtllib paint.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
    for (const std::string& m : materials) text += "g " + m + "\nusemtl " + m + "\nf 1/1 2/2 3/3 4/4\n";
    writeFile(name + ".obj", text);
    std::unique_ptr<ObjModel> model(glmReadOBJ((dir + name + ".obj").c_str()));
    glmBuildFacetNormals(model.get());
    glmVertexNormals(model.get());
    return model;
}

// One grey light, colour material and the game's fog as start-up sets it, 45 degrees of view.
void lightScene(bool fog) {
    ensureGlContext();
    if (shaderProgram == 0) buildShaderProgram();
    useShaderProgram(0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1, 0.5, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float grey[4] = {0.6f, 0.6f, 0.6f, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);  // from behind the viewer, as it is by default
    setUpFog();
    for (GLenum on : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL}) glEnable(on);
    for (GLenum off : {GL_DEPTH_TEST, GL_TEXTURE_2D}) glDisable(off);
    switchFog(fog);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The centre pixel of what draw() gives with the fixed-function pipeline, once the game's shader matched it.
template <typename Draw>
Pixel bothPipelines(bool fog, Draw draw) {
    std::array<Pixel, 2> drawn;
    for (int shader = 0; shader < 2; ++shader) {
        lightScene(fog);
        draw(shader ? shaderProgram : 0);
        drawn[shader] = pixelAt(kGlWindowSize / 2, kGlWindowSize / 2);
        useShaderProgram(0);
    }
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(drawn[1][i], drawn[0][i], 3) << "channel " << i;
    return drawn[0];
}

}  // namespace

// The shader draws as the fixed-function pipeline does in the same state: a lit
// white square 300 units ahead, a texture bound, fog and texturing on or off.
TEST(Shader, MatchesFixedFunctionWithFogAndTexturingOnOrOff) {
    const struct { bool fog, texturing, textureBound; } states[] = {
        {false, false, true}, {true, false, true}, {false, true, true}, {true, true, true}, {false, true, false}};
    for (const auto& state : states) {
        SCOPED_TRACE(testing::Message() << "fog, texturing, bound " << state.fog << state.texturing
                                        << state.textureBound);
        bothPipelines(state.fog, [&](unsigned int program) {
            glBindTexture(GL_TEXTURE_2D, state.textureBound ? solidTexture(120, 255, 60) : 0);
            state.texturing ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
            useShaderProgram(program);
            glColor3f(1, 1, 1), glNormal3f(0, 0, 1), glTexCoord2f(0.5f, 0.5f);
            glTranslatef(0, 0, -300);
            glRectf(-300, -300, 300, 300);
        });
    }
}

// Each draw follows a textured one (the vehicle's wheels after its body). A missing texture or a group without
// one shows the material's own colour (204, 102, 51); a texture modulates it; material mode sends each group's
// material; groups draw newest first, so the file's first group ends on top. Without the colour bit a model
// keeps the current white: each mode compiles its own lists.
TEST(Shader, ModelsShowTheirMaterialsModulatedByTheirTexturesInGroupOrder) {
    writeFile("green.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 0, char(200), 0});  // 1 x 1, B G R
    writeFile("paint.mtl", "newmtl plain\nKd 1 0.5 0.25\nnewmtl lost\nKd 1 0.5 0.25\nmap_Kd absent.tga\n"
                           "newmtl green\nKd 1 0.5 0.25\nmap_Kd green.tga\nnewmtl blue\nKa 0.25 0.5 1\n"
                           "Kd 0.25 0.5 1\n");
    auto plain = squareModel("plain", {"plain"}), lost = squareModel("lost", {"lost"});
    auto green = squareModel("green", {"green"}), layers = squareModel("layers", {"blue", "plain"});
    const unsigned int textured = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR;
    const struct { ObjModel* model; unsigned int mode; Pixel shown; } draws[] = {
        {lost.get(), textured, {204, 102, 51}}, {plain.get(), textured, {204, 102, 51}},
        {plain.get(), GLM_MODE_SMOOTH | GLM_MODE_COLOR, {204, 102, 51}}, {green.get(), textured, {0, 80, 0}},
        {layers.get(), GLM_MODE_SMOOTH | GLM_MODE_MATERIAL, {51, 102, 204}},
        {plain.get(), GLM_MODE_SMOOTH, {204, 204, 204}}};
    for (const auto& draw : draws) {
        const Pixel drawn = bothPipelines(false, [&](unsigned int program) {
            glTranslatef(0, 0, -2);
            useShaderProgram(program);
            glmDraw(green.get(), textured);  // leaves the green texture bound and texturing on
            glClear(GL_COLOR_BUFFER_BIT);
            glColor3f(1, 1, 1);
            glmDraw(draw.model, draw.mode);
        });
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(drawn[i], draw.shown[i], 3) << "draw " << &draw - draws << ", " << i;
    }
}
