#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "assets/file_bytes.h"
#include "assets/obj_model.h"
#include "assets/text_scan.h"

namespace {

const char* const defaultGroupName = "default";

// How the corners of one face line are written; fixed by the face's first corner.
enum class CornerFormat { vertexNormal, vertexTexcoordNormal, vertexTexcoord, vertexOnly };

struct Corner {
    int32_t vertex;
    int32_t texcoord;
    int32_t normal;
};

// The reading state of one pass: where the text is and which group takes the faces.
struct ObjPass {
    ObjModel* model;
    TextCursor text;
    ObjGroup* group;
    std::unordered_map<std::string, ObjGroup*> groupsByName;
};

ObjGroup* addGroup(ObjPass* pass, const std::string& name) {
    ObjGroup* group = new ObjGroup{name, 0, {}, 0, pass->model->groups};
    pass->model->groups = group;
    ++pass->model->groupCount;
    pass->groupsByName.emplace(name, group);
    return group;
}

// The group of this name, made at the head of the list when it is new.
ObjGroup* findOrAddGroup(ObjPass* pass, const std::string& name) {
    auto found = pass->groupsByName.find(name);
    return found != pass->groupsByName.end() ? found->second : addGroup(pass, name);
}

// A group name is the whole rest of its line, leading blank included, without the
// line end (a CR before the line feed is part of the line end).
std::string groupName(TextCursor* text) {
    std::string name = restOfLine(text);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    return name;
}

// Scans one corner in the face's format; returns how many of its numbers matched.
// Numbers that did not match, or that the format does not carry, stay 0.
int scanCorner(TextCursor* text, CornerFormat format, Corner* corner) {
    *corner = Corner{0, 0, 0};
    if (!scanInt(text, &corner->vertex)) return 0;
    switch (format) {
    case CornerFormat::vertexNormal:
        if (!scanLiteral(text, "//") || !scanInt(text, &corner->normal)) return 1;
        return 2;
    case CornerFormat::vertexTexcoordNormal:
        if (!scanLiteral(text, "/") || !scanInt(text, &corner->texcoord)) return 1;
        if (!scanLiteral(text, "/") || !scanInt(text, &corner->normal)) return 2;
        return 3;
    case CornerFormat::vertexTexcoord:
        if (!scanLiteral(text, "/") || !scanInt(text, &corner->texcoord)) return 1;
        return 2;
    case CornerFormat::vertexOnly:
        return 1;
    }
    return 1;
}

// The face's format, from its first corner token: v//n, then v/t/n, then v/t, else v.
CornerFormat formatOf(const char* token, size_t length) {
    if (std::strstr(token, "//")) return CornerFormat::vertexNormal;
    TextCursor text{token, token + length};
    Corner corner;
    int fields = scanCorner(&text, CornerFormat::vertexTexcoordNormal, &corner);
    if (fields == 3) return CornerFormat::vertexTexcoordNormal;
    if (fields == 2) return CornerFormat::vertexTexcoord;
    return CornerFormat::vertexOnly;
}

// Reads a face after its token and hands each triangle of its fan to
// emit(format, first, previous, current).
template <typename Emit>
void readFace(TextCursor* text, Emit emit) {
    char token[maxTokenLength + 1];
    size_t length = nextToken(text, token);
    if (length == 0) return;
    CornerFormat format = formatOf(token, length);
    TextCursor tokenText{token, token + length};
    Corner first, previous, current;
    scanCorner(&tokenText, format, &first);
    scanCorner(text, format, &previous);
    scanCorner(text, format, &current);
    emit(format, first, previous, current);
    while (true) {
        previous = current;
        if (scanCorner(text, format, &current) == 0) break;
        emit(format, first, previous, current);
    }
}

[[noreturn]] void unknownToken(const char* token) {
    std::printf("glmFirstPass(): Unknown token \"%s\".\n", token);
    std::fflush(stdout);
    glmExit(1);
}

// Counts the entries, makes every group and reads the material library.
void glmFirstPass(ObjPass* pass) {
    ObjModel* model = pass->model;
    pass->group = findOrAddGroup(pass, defaultGroupName);
    uint32_t vertices = 0, normals = 0, texcoords = 0, triangles = 0;
    char token[maxTokenLength + 1];
    while (nextToken(&pass->text, token) > 0) {
        switch (token[0]) {
        case 'v':
            if (token[1] == '\0') ++vertices;
            else if (token[1] == 'n') ++normals;
            else if (token[1] == 't') ++texcoords;
            else unknownToken(token);
            skipLine(&pass->text);
            break;
        case 'm':
            model->materialLibrary = firstWord(restOfLine(&pass->text));
            if (!model->materialLibrary.empty()) glmReadMTL(model, model->materialLibrary.c_str());
            break;
        case 'g':
            pass->group = findOrAddGroup(pass, groupName(&pass->text));
            break;
        case 'f':
            readFace(&pass->text, [&](CornerFormat, const Corner&, const Corner&, const Corner&) {
                ++triangles;
                ++pass->group->triangleCount;
            });
            break;
        default:
            skipLine(&pass->text);
            break;
        }
    }
    model->vertexCount = vertices;
    model->normalCount = normals;
    model->texcoordCount = texcoords;
    model->triangleCount = triangles;
    for (ObjGroup* group = model->groups; group; group = group->next) {
        group->triangleIndices.assign(group->triangleCount, 0);
        group->triangleCount = 0;
    }
}

// Keeps a face index that names an entry of the file, else counts it and gives entry 0.
int32_t checkedIndex(int32_t index, uint32_t count, uint32_t* badIndices) {
    if (index >= 1 && uint32_t(index) <= count) return index;
    ++*badIndices;
    return 0;
}

struct FillCounts {
    uint32_t vertices = 0;
    uint32_t normals = 0;
    uint32_t texcoords = 0;
    uint32_t triangles = 0;
    uint32_t badIndices = 0;
};

// Stores a triangle when both it and its group have room left from the counting pass.
void storeTriangle(ObjPass* pass, CornerFormat format, const Corner* corners[3], FillCounts* counts) {
    ObjModel* model = pass->model;
    ObjGroup* group = pass->group;
    if (counts->triangles >= model->triangleCount || group->triangleCount >= group->triangleIndices.size()) return;
    bool hasTexcoord = format == CornerFormat::vertexTexcoordNormal || format == CornerFormat::vertexTexcoord;
    bool hasNormal = format == CornerFormat::vertexTexcoordNormal || format == CornerFormat::vertexNormal;
    ObjTriangle triangle;
    for (int i = 0; i < 3; ++i) {
        triangle.vertexIndices[i] = checkedIndex(corners[i]->vertex, model->vertexCount, &counts->badIndices);
        triangle.texcoordIndices[i] =
            hasTexcoord ? checkedIndex(corners[i]->texcoord, model->texcoordCount, &counts->badIndices) : 0;
        triangle.normalIndices[i] =
            hasNormal ? checkedIndex(corners[i]->normal, model->normalCount, &counts->badIndices) : 0;
    }
    triangle.facetNormalIndex = -1;
    model->triangles.push_back(triangle);
    group->triangleIndices[group->triangleCount++] = counts->triangles++;
}

// Reads the values of a v, vn or vt line into the next slot when the counting pass left one.
void storeValues(TextCursor* text, std::vector<float>* values, int width, uint32_t* filled, uint32_t count) {
    if (*filled >= count) {
        skipLine(text);
        return;
    }
    ++*filled;
    readLineFloats(text, values->data() + size_t(*filled) * width, width);
}

// Stores the entries and triangles into the arrays the counting pass sized.
void glmFillPass(ObjPass* pass) {
    ObjModel* model = pass->model;
    pass->group = findOrAddGroup(pass, defaultGroupName);
    uint32_t material = 0;
    FillCounts counts;
    char token[maxTokenLength + 1];
    while (nextToken(&pass->text, token) > 0) {
        switch (token[0]) {
        case 'v':
            if (token[1] == '\0') storeValues(&pass->text, &model->vertices, 3, &counts.vertices, model->vertexCount);
            else if (token[1] == 'n') storeValues(&pass->text, &model->normals, 3, &counts.normals, model->normalCount);
            else if (token[1] == 't')
                storeValues(&pass->text, &model->texcoords, 2, &counts.texcoords, model->texcoordCount);
            else skipLine(&pass->text);
            break;
        case 'g':
            pass->group = findOrAddGroup(pass, groupName(&pass->text));
            pass->group->material = material;
            break;
        case 'u':
            material = glmFindMaterial(model, firstWord(restOfLine(&pass->text)).c_str());
            pass->group->material = material;
            break;
        case 'f':
            readFace(&pass->text, [&](CornerFormat format, const Corner& a, const Corner& b, const Corner& c) {
                const Corner* corners[3] = {&a, &b, &c};
                storeTriangle(pass, format, corners, &counts);
            });
            break;
        default:
            skipLine(&pass->text);
            break;
        }
    }
    if (counts.badIndices > 0)
        std::printf("glmReadOBJ() warning: %u face indices out of range in \"%s\", using 0.\n", counts.badIndices,
                    model->path.c_str());
}

}  // namespace

ObjModel::~ObjModel() {
    while (groups) {
        ObjGroup* next = groups->next;
        delete groups;
        groups = next;
    }
}

ObjModel* glmReadOBJ(const char* path) {
    FileBytes file;
    if (!readFileBytes(path, &file)) {
        std::fprintf(stderr, "glmReadOBJ() failed: can't open data file \"%s\".\n", path);
        glmExit(1);
    }
    std::unique_ptr<ObjModel> model(new ObjModel());
    model->path = path;
    const char* text = reinterpret_cast<const char*>(file.data());
    ObjPass counting{model.get(), {text, text + file.size()}, nullptr, {}};
    glmFirstPass(&counting);
    model->vertices.assign((size_t(model->vertexCount) + 1) * 3, 0.0f);
    model->triangles.reserve(model->triangleCount);
    if (model->normalCount) model->normals.assign((size_t(model->normalCount) + 1) * 3, 0.0f);
    if (model->texcoordCount) model->texcoords.assign((size_t(model->texcoordCount) + 1) * 2, 0.0f);
    ObjPass filling{model.get(), {text, text + file.size()}, nullptr, std::move(counting.groupsByName)};
    glmFillPass(&filling);
    // Both passes read the same text the same way, so every counted triangle was stored.
    model->triangles.resize(model->triangleCount, ObjTriangle{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, -1});
    return model.release();
}

ObjGroup* glmGroupByName(ObjModel* model, const char* name) {
    for (ObjGroup* group = model->groups; group; group = group->next) {
        if (group->name == name) return group;
    }
    return nullptr;
}
