#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "assets/file_bytes.h"
#include "assets/obj_model.h"
#include "assets/text_scan.h"
#include "platform/messages.h"

namespace {

const char* const kDefaultGroupName = "default";

enum class EntryKind { vertex, normal, texcoord, unknown };

// How the corners of one face line are written; fixed by the face's first corner.
enum class CornerFormat { vertexNormal, vertexTexcoordNormal, vertexTexcoord, vertexOnly };

struct Corner {
    int32_t vertex;
    int32_t texcoord;
    int32_t normal;
};

// The entries the file has given so far, which relative face indices count back from.
struct EntryCounts {
    uint32_t vertices = 0;
    uint32_t normals = 0;
    uint32_t texcoords = 0;
};

// Groups stay in the order they were made while the file is read, so both passes find
// them at the same place; the model gets them newest first at the end.
using GroupsByName = std::unordered_map<std::string, uint32_t>;

// The reading state of one pass: where the text is, which group takes the faces and how
// many entries came before the current line.
struct ObjPass {
    ObjModel* model;
    TextCursor text;
    GroupsByName* groupsByName;
    uint32_t group;
    EntryCounts given;
};

// The group of this name, made at the end of the list when it is new.
uint32_t findOrAddGroup(ObjPass* pass, const std::string& name) {
    std::vector<ObjGroup>& groups = pass->model->groups;
    auto [found, added] = pass->groupsByName->emplace(name, uint32_t(groups.size()));
    if (added) groups.push_back(ObjGroup{name, 0, {}, 0});
    return found->second;
}

// A group name is the whole rest of its line, leading blank included, without the
// line end (a CR before the line feed is part of the line end).
std::string groupName(TextCursor* text) {
    std::string name = restOfLine(text);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    return name;
}

// v, vn and vt by the token's first two characters; any other v-token is unknown.
EntryKind entryKind(Token token) {
    if (token.length == 1) return EntryKind::vertex;
    if (token.start[1] == 'n') return EntryKind::normal;
    if (token.start[1] == 't') return EntryKind::texcoord;
    return EntryKind::unknown;
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
CornerFormat formatOf(TextCursor token) {
    for (const char* p = token.at; p + 1 < token.end; ++p) {
        if (p[0] == '/' && p[1] == '/') return CornerFormat::vertexNormal;
    }
    Corner corner;
    int fields = scanCorner(&token, CornerFormat::vertexTexcoordNormal, &corner);
    if (fields == 3) return CornerFormat::vertexTexcoordNormal;
    if (fields == 2) return CornerFormat::vertexTexcoord;
    return CornerFormat::vertexOnly;
}

// A negative index counts back from the entries given so far, -1 being the latest.
// One reaching before the first entry becomes 0, which names no entry.
int32_t absoluteIndex(int32_t index, uint32_t given) {
    if (index >= 0) return index;
    int64_t counted = int64_t(given) + 1 + index;
    return counted >= 1 && counted <= INT32_MAX ? int32_t(counted) : 0;
}

int scanAbsoluteCorner(TextCursor* text, CornerFormat format, const EntryCounts& given, Corner* corner) {
    int fields = scanCorner(text, format, corner);
    corner->vertex = absoluteIndex(corner->vertex, given.vertices);
    corner->texcoord = absoluteIndex(corner->texcoord, given.texcoords);
    corner->normal = absoluteIndex(corner->normal, given.normals);
    return fields;
}

// Reads a face after its token and hands each triangle of its fan to
// emit(format, first, previous, current), with relative indices made absolute.
template <typename Emit>
void readFace(TextCursor* text, const EntryCounts& given, Emit emit) {
    Token token = nextWord(text);
    if (token.length == 0) return;
    TextCursor tokenText{token.start, token.start + token.length};
    CornerFormat format = formatOf(tokenText);
    Corner first, previous, current;
    scanAbsoluteCorner(&tokenText, format, given, &first);
    scanAbsoluteCorner(text, format, given, &previous);
    scanAbsoluteCorner(text, format, given, &current);
    emit(format, first, previous, current);
    while (true) {
        previous = current;
        if (scanAbsoluteCorner(text, format, given, &current) == 0) break;
        emit(format, first, previous, current);
    }
}

[[noreturn]] void unknownToken(Token token) {
    sayf("glmFirstPass(): Unknown token \"%.*s\".\n", int(std::min(token.length, kMaxTokenLength)), token.start);
    glmExit(1);
}

void countEntry(ObjPass* pass, Token token) {
    switch (entryKind(token)) {
    case EntryKind::vertex: ++pass->given.vertices; break;
    case EntryKind::normal: ++pass->given.normals; break;
    case EntryKind::texcoord: ++pass->given.texcoords; break;
    case EntryKind::unknown: unknownToken(token);
    }
    skipLine(&pass->text);
}

// Counts the entries, makes every group and reads the material library.
void glmFirstPass(ObjPass* pass) {
    ObjModel* model = pass->model;
    pass->group = findOrAddGroup(pass, kDefaultGroupName);
    uint32_t triangles = 0;
    for (Token token = nextWord(&pass->text); token.length > 0; token = nextWord(&pass->text)) {
        switch (token.start[0]) {
        case 'v':
            countEntry(pass, token);
            break;
        case 'm':
            model->materialLibrary = firstWord(restOfLine(&pass->text));
            if (!model->materialLibrary.empty()) glmReadMTL(model, model->materialLibrary.c_str());
            break;
        case 'g':
            pass->group = findOrAddGroup(pass, groupName(&pass->text));
            break;
        case 'f': {
            ObjGroup& group = model->groups[pass->group];
            readFace(&pass->text, pass->given, [&](CornerFormat, const Corner&, const Corner&, const Corner&) {
                ++triangles;
                ++group.triangleCount;
            });
            break;
        }
        default:
            skipLine(&pass->text);
            break;
        }
    }
    model->vertexCount = pass->given.vertices;
    model->normalCount = pass->given.normals;
    model->texcoordCount = pass->given.texcoords;
    model->triangleCount = triangles;
    // Each group's triangleCount stays the counted size until the second pass has filled it.
    for (ObjGroup& group : model->groups) group.triangleIndices.reserve(group.triangleCount);
}

// Keeps a face index that names an entry of the file, else counts it and gives entry 0.
int32_t checkedIndex(int32_t index, uint32_t count, uint32_t* badIndices) {
    if (index >= 1 && uint32_t(index) <= count) return index;
    ++*badIndices;
    return 0;
}

// Stores a triangle when both it and its group have room left from the counting pass.
void storeTriangle(ObjPass* pass, CornerFormat format, const Corner* corners[3], uint32_t* badIndices) {
    ObjModel* model = pass->model;
    ObjGroup& group = model->groups[pass->group];
    if (model->triangles.size() >= model->triangleCount || group.triangleIndices.size() >= group.triangleCount)
        return;
    bool hasTexcoord = format == CornerFormat::vertexTexcoordNormal || format == CornerFormat::vertexTexcoord;
    bool hasNormal = format == CornerFormat::vertexTexcoordNormal || format == CornerFormat::vertexNormal;
    ObjTriangle triangle;
    for (int i = 0; i < 3; ++i) {
        triangle.vertexIndices[i] = checkedIndex(corners[i]->vertex, model->vertexCount, badIndices);
        triangle.texcoordIndices[i] =
            hasTexcoord ? checkedIndex(corners[i]->texcoord, model->texcoordCount, badIndices) : 0;
        triangle.normalIndices[i] = hasNormal ? checkedIndex(corners[i]->normal, model->normalCount, badIndices) : 0;
    }
    triangle.facetNormalIndex = -1;
    group.triangleIndices.push_back(uint32_t(model->triangles.size()));
    model->triangles.push_back(triangle);
}

// Reads the values of a v, vn or vt line into the next slot when the counting pass left one.
void storeValues(TextCursor* text, std::vector<float>* values, int width, uint32_t* given, uint32_t count) {
    if (*given >= count) {
        skipLine(text);
        return;
    }
    ++*given;
    readLineFloats(text, values->data() + size_t(*given) * width, width);
}

void storeEntry(ObjPass* pass, Token token) {
    ObjModel* model = pass->model;
    EntryCounts& given = pass->given;
    switch (entryKind(token)) {
    case EntryKind::vertex: return storeValues(&pass->text, &model->vertices, 3, &given.vertices, model->vertexCount);
    case EntryKind::normal: return storeValues(&pass->text, &model->normals, 3, &given.normals, model->normalCount);
    case EntryKind::texcoord:
        return storeValues(&pass->text, &model->texcoords, 2, &given.texcoords, model->texcoordCount);
    case EntryKind::unknown: return skipLine(&pass->text);
    }
}

// Stores the entries and triangles into the arrays the counting pass sized.
void glmFillPass(ObjPass* pass) {
    ObjModel* model = pass->model;
    pass->group = findOrAddGroup(pass, kDefaultGroupName);
    uint32_t material = 0;
    uint32_t badIndices = 0;
    for (Token token = nextWord(&pass->text); token.length > 0; token = nextWord(&pass->text)) {
        switch (token.start[0]) {
        case 'v':
            storeEntry(pass, token);
            break;
        case 'g':
            pass->group = findOrAddGroup(pass, groupName(&pass->text));
            model->groups[pass->group].material = material;
            break;
        case 'u':
            material = glmFindMaterial(model, firstWord(restOfLine(&pass->text)).c_str());
            model->groups[pass->group].material = material;
            break;
        case 'f':
            readFace(&pass->text, pass->given,
                     [&](CornerFormat format, const Corner& a, const Corner& b, const Corner& c) {
                         const Corner* corners[3] = {&a, &b, &c};
                         storeTriangle(pass, format, corners, &badIndices);
                     });
            break;
        default:
            skipLine(&pass->text);
            break;
        }
    }
    if (badIndices > 0)
        sayf("glmReadOBJ() warning: %u face indices out of range in \"%s\", using 0.\n", badIndices,
                    model->path.c_str());
}

}  // namespace

ObjModel* glmReadOBJ(const char* path) {
    FileBytes file;
    if (!readFileBytes(path, &file)) {
        complain("glmReadOBJ() failed: can't open data file \"%s\".\n", path);
        glmExit(1);
    }
    std::unique_ptr<ObjModel> model(new ObjModel());
    model->path = path;
    const char* text = reinterpret_cast<const char*>(file.data());
    GroupsByName groupsByName;
    ObjPass counting{model.get(), {text, text + file.size()}, &groupsByName, 0, {}};
    glmFirstPass(&counting);
    model->vertices.assign((size_t(model->vertexCount) + 1) * 3, 0.0f);
    model->triangles.reserve(model->triangleCount);
    if (model->normalCount) model->normals.assign((size_t(model->normalCount) + 1) * 3, 0.0f);
    if (model->texcoordCount) model->texcoords.assign((size_t(model->texcoordCount) + 1) * 2, 0.0f);
    ObjPass filling{model.get(), {text, text + file.size()}, &groupsByName, 0, {}};
    glmFillPass(&filling);
    // Both passes read the same text the same way, so these counts are the ones the first pass made.
    model->triangleCount = uint32_t(model->triangles.size());
    for (ObjGroup& group : model->groups) group.triangleCount = uint32_t(group.triangleIndices.size());
    std::reverse(model->groups.begin(), model->groups.end());
    model->groupCount = uint32_t(model->groups.size());
    return model.release();
}

ObjGroup* glmGroupByName(ObjModel* model, const char* name) {
    for (ObjGroup& group : model->groups) {
        if (group.name == name) return &group;
    }
    return nullptr;
}
