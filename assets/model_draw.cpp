#include "assets/model_draw.h"

#include <GL/glew.h>

#include "assets/obj_model.h"
#include "assets/shader_program.h"
#include "platform/messages.h"

namespace {

const float kZeroEntry[3] = {0.0f, 0.0f, 0.0f};

// Entry index of a 1-based array, or zeros for an index the array does not hold.
const float* entryOf(const std::vector<float>& values, int32_t index, size_t width) {
    if (index < 0 || (size_t(index) + 1) * width > values.size()) return kZeroEntry;
    return values.data() + size_t(index) * width;
}

// Drops the mode bits the model cannot serve, printing why, in the order callers see them.
unsigned int checkedMode(const ObjModel& model, unsigned int mode) {
    auto drop = [&mode](unsigned int bit, bool unservable, const char* why) {
        if (!(mode & bit) || !unservable) return;
        sayf("glmDraw() warning: %s.\n", why);
        mode &= ~bit;
    };
    drop(GLM_MODE_FLAT, model.facetNormals.empty(), "flat render mode requested with no facet normals defined");
    drop(GLM_MODE_SMOOTH, model.normals.empty(), "smooth render mode requested with no normals defined");
    drop(GLM_MODE_TEXTURE, model.texcoords.empty(),
         "texture render mode requested with no texture coordinates defined");
    drop(GLM_MODE_FLAT, mode & GLM_MODE_SMOOTH,
         "flat render mode requested and smooth render mode requested (using smooth)");
    drop(GLM_MODE_COLOR, model.materials.empty(), "color render mode requested with no materials defined");
    drop(GLM_MODE_MATERIAL, model.materials.empty(), "material render mode requested with no materials defined");
    drop(GLM_MODE_COLOR, mode & GLM_MODE_MATERIAL,
         "color and material render mode requested using only material mode");
    return mode;
}

// The group's material, or none when the model has none or the index is not in the table.
const ObjMaterial* materialOf(const ObjModel& model, const ObjGroup& group) {
    return group.material < model.materials.size() ? &model.materials[group.material] : nullptr;
}

GLuint textureOf(const ObjModel& model, const ObjMaterial* material) {
    if (!material || material->texture < 0 || size_t(material->texture) >= model.textures.size()) return 0;
    return model.textures[size_t(material->texture)].id;
}

// The group's material and colour, as the mode asks; its texture is bound apart.
void applyGroupPaint(const ObjModel& model, const ObjGroup& group, unsigned int mode) {
    const ObjMaterial* material = materialOf(model, group);
    if ((mode & GLM_MODE_MATERIAL) && material) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material->ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material->diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material->specular);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material->shininess);
    }
    if ((mode & GLM_MODE_COLOR) && material) glColor3fv(material->diffuse);
}

void drawGroupTriangles(const ObjModel& model, const ObjGroup& group, unsigned int mode) {
    glBegin(GL_TRIANGLES);
    for (uint32_t k = 0; k < group.triangleCount && k < group.triangleIndices.size(); ++k) {
        uint32_t t = group.triangleIndices[k];
        if (t >= model.triangles.size()) continue;
        const ObjTriangle& triangle = model.triangles[t];
        if (mode & GLM_MODE_FLAT) glNormal3fv(entryOf(model.facetNormals, triangle.facetNormalIndex, 3));
        for (int c = 0; c < 3; ++c) {
            if (mode & GLM_MODE_SMOOTH) glNormal3fv(entryOf(model.normals, triangle.normalIndices[c], 3));
            if (mode & GLM_MODE_TEXTURE) glTexCoord2fv(entryOf(model.texcoords, triangle.texcoordIndices[c], 2));
            glVertex3fv(entryOf(model.vertices, triangle.vertexIndices[c], 3));
        }
    }
    glEnd();
}

// One list per group, made once per mode: sending every vertex in every frame
// is what made the models cost most of a frame. None when GL has no lists to give.
unsigned int groupListsFor(ObjModel& model, unsigned int mode) {
    unsigned int& first = model.groupLists[mode % GLM_MODE_COUNT];
    if (first != 0 || model.groups.empty()) return first;
    first = glGenLists(GLsizei(model.groups.size()));
    for (size_t i = 0; first != 0 && i < model.groups.size(); ++i) {
        glNewList(first + GLuint(i), GL_COMPILE);
        applyGroupPaint(model, model.groups[i], mode);
        drawGroupTriangles(model, model.groups[i], mode);
        glEndList();
    }
    return first;
}

}  // namespace

void glmDraw(ObjModel* model, unsigned int mode) {
    mode = checkedMode(*model, mode);
    if (mode & GLM_MODE_COLOR) glEnable(GL_COLOR_MATERIAL);
    else if (mode & GLM_MODE_MATERIAL) glDisable(GL_COLOR_MATERIAL);
    // Drawn without the texture bit, a model shows no texture a model before it left bound.
    if (mode & GLM_MODE_TEXTURE) {
        glEnable(GL_TEXTURE_2D);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    } else {
        glDisable(GL_TEXTURE_2D);
        matchShaderToGlState();
    }
    const unsigned int lists = groupListsFor(*model, mode);
    for (size_t i = 0; i < model->groups.size(); ++i) {
        const ObjGroup& group = model->groups[i];
        if (mode & GLM_MODE_TEXTURE) {
            glBindTexture(GL_TEXTURE_2D, textureOf(*model, materialOf(*model, group)));
            matchShaderToGlState();  // a group without a texture binds 0
        }
        if (lists != 0) {
            glCallList(lists + GLuint(i));
        } else {
            applyGroupPaint(*model, group, mode);
            drawGroupTriangles(*model, group, mode);
        }
    }
}
