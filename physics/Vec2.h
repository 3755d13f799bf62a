#pragma once

// Two-dimensional vector of single-precision floats, the game's one geometric value type.
// Every operation rounds to float as it goes, so results do not depend on the compiler.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return Vec2{a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return Vec2{a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 v, float s) { return Vec2{v.x * s, v.y * s}; }
inline Vec2 operator*(float s, Vec2 v) { return Vec2{s * v.x, s * v.y}; }

inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline float lengthSquared(Vec2 v) { return v.x * v.x + v.y * v.y; }

// The game's only square root: the classic inverse-square-root estimate refined by two
// Newton steps, multiplied back by the argument. It comes out slightly low, and every
// threshold in the game is measured against these values, not against exact roots.
float fastSqrt(float x);

// v divided by its fastSqrt length. A zero vector gives 0/0; callers that can meet one
// must check first (see Entity::setDirection).
Vec2 normalized(Vec2 v);
