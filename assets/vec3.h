#pragma once
// Three-float vectors for positions and directions in world units (y up).

struct Vec3 {
    float x, y, z;
};

// v divided by its length; the zero vector stays zero.
Vec3 normalize(Vec3 v);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 add(Vec3 a, Vec3 b);
Vec3 sub(Vec3 a, Vec3 b);
Vec3 scale(Vec3 v, float s);
