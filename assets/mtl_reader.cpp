#include <cstring>

#include "assets/file_bytes.h"
#include "assets/obj_model.h"
#include "assets/text_scan.h"
#include "platform/messages.h"

namespace {

const char* const kDefaultMaterialName = "default";
const float kDefaultShininess = 65.0f;
// Ns runs from 0 to 1000 in the library and from 0 to 128 in OpenGL.
const double kLibraryShininessRange = 1000.0;
const double kGlShininessRange = 128.0;
const char* const kDriveSeparator = ":\\";
const char* const kDiffuseMapToken = "map_Kd";

ObjMaterial defaultMaterial() {
    return ObjMaterial{"", {0.8f, 0.8f, 0.8f, 1.0f}, {0.2f, 0.2f, 0.2f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f},
                       kDefaultShininess, -1};
}

// Everything up to and including the last '/' of the model's path.
std::string modelDirectory(const ObjModel& model) {
    size_t slash = model.path.rfind('/');
    return slash == std::string::npos ? std::string() : model.path.substr(0, slash + 1);
}

// The rest of the current line with its line end, as texture names keep it.
std::string restOfLineWithEnd(TextCursor* text) {
    const char* start = text->at;
    skipLine(text);
    return std::string(start, text->at);
}

// Cuts a line feed, or a carriage return and line feed, from the end of an image path.
void trimLineEnd(std::string* path) {
    size_t length = path->size();
    if (length >= 1 && static_cast<unsigned char>((*path)[length - 1]) < 32) path->resize(length - 1);
    if (length >= 2 && static_cast<unsigned char>((*path)[length - 2]) < 32) path->resize(length - 2);
}

uint32_t countMaterials(TextCursor text) {
    uint32_t count = 1;  // "default"
    char token[kMaxTokenLength + 1];
    while (nextToken(&text, token) > 0) {
        if (token[0] == 'n') ++count;
        skipLine(&text);
    }
    return count;
}

void readShininess(TextCursor* text, ObjMaterial* material) {
    float value = 0.0f;
    if (scanLineFloat(text, &value)) {
        value = float(value / kLibraryShininessRange);
        material->shininess = float(value * kGlShininessRange);
    }
    skipLine(text);
}

// Reads one statement of the library into the materials; current is the entry being filled.
void readStatement(ObjModel* model, TextCursor* text, const char* token, uint32_t* current) {
    ObjMaterial& material = model->materials[*current];
    switch (token[0]) {
    case 'n': {
        std::string name = firstWord(restOfLine(text));
        if (*current + 1 < model->materialCount) model->materials[++*current].name = name;
        return;
    }
    case 'K':
        if (token[1] == 'a') return readLineFloats(text, material.ambient, 3);
        if (token[1] == 'd') return readLineFloats(text, material.diffuse, 3);
        if (token[1] == 's') return readLineFloats(text, material.specular, 3);
        return skipLine(text);
    case 'N':
        if (token[1] == 's') return readShininess(text, &material);
        return skipLine(text);
    case 'm': {
        std::string rest = restOfLineWithEnd(text);
        if (std::strncmp(token, kDiffuseMapToken, std::strlen(kDiffuseMapToken)) == 0)
            material.texture = glmAcquireTexture(model, rest.c_str());
        return;
    }
    default:
        return skipLine(text);
    }
}

}  // namespace

void glmReadMTL(ObjModel* model, const char* name) {
    std::string path = modelDirectory(*model) + name;
    FileBytes file;
    if (!readFileBytes(path.c_str(), &file)) {
        complain("glmReadMTL() failed: can't open material file \"%s\".\n", path.c_str());
        glmExit(1);
    }
    const char* bytes = reinterpret_cast<const char*>(file.data());
    TextCursor text{bytes, bytes + file.size()};
    model->materialCount = countMaterials(text);
    model->materials.assign(model->materialCount, defaultMaterial());
    model->materials[0].name = kDefaultMaterialName;
    uint32_t current = 0;
    char token[kMaxTokenLength + 1];
    while (nextToken(&text, token) > 0) readStatement(model, &text, token, &current);
}

uint32_t glmFindMaterial(ObjModel* model, const char* name) {
    for (uint32_t i = 0; i < model->materials.size(); ++i) {
        if (model->materials[i].name == name) return i;
    }
    sayf("glmFindMaterial():  can't find material \"%s\".\n", name);
    return 0;
}

int32_t glmAcquireTexture(ObjModel* model, const char* name) {
    const char* stripped = name;
    while (*stripped == ' ') ++stripped;
    for (uint32_t i = 0; i < model->textures.size(); ++i) {
        if (model->textures[i].name == stripped) return int32_t(i);
    }
    // A Windows path with a drive letter is used as written; others sit beside the model.
    std::string path = std::strstr(name, kDriveSeparator) ? std::string(name) : modelDirectory(*model) + stripped;
    trimLineEnd(&path);
    ObjTexture texture{stripped, 0, 0.0f, 0.0f};
    texture.id = glmLoadTexture(path.c_str(), &texture.width, &texture.height);
    model->textures.push_back(texture);
    model->textureCount = uint32_t(model->textures.size());
    return int32_t(model->textureCount - 1);
}
