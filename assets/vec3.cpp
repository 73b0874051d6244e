#include "assets/vec3.h"

#include <cmath>

Vec3 normalize(Vec3 v) {
    double length = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    if (length == 0.0) return {0.0f, 0.0f, 0.0f};
    return {float(v.x / length), float(v.y / length), float(v.z / length)};
}

Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 scale(Vec3 v, float s) { return {v.x * s, v.y * s, v.z * s}; }
