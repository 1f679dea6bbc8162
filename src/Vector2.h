#pragma once

#include <string>

// The value type of every position, velocity, force and contact quantity.
// Single precision throughout.
class Vector2 {
public:
    float x;
    float y;

    Vector2();
    Vector2(float x, float y);

    // Not called by the program: for tests and benchmarks.
    void zero();
    float dot(Vector2 const& o) const;
    float sqrLength() const;
    float length() const;
    // Not called by the program: for tests and benchmarks.
    void unit();
    // Not called by the program: for tests and benchmarks.
    float angle() const;

    Vector2 add(Vector2 const& o) const;
    Vector2 subtract(Vector2 const& o) const;
    Vector2 multiply(float s) const;
    Vector2 divide(float s) const;

    // Not called by the program: for tests and benchmarks.
    std::string toString() const;
    // Not called by the program: for tests and benchmarks.
    void print() const;
};

Vector2 operator+(Vector2 const& a, Vector2 const& b);
Vector2 operator-(Vector2 const& a, Vector2 const& b);
// Not called by the program: for tests and benchmarks.
Vector2 operator*(float s, Vector2 const& v);
Vector2 operator*(Vector2 const& v, float s);
Vector2 operator/(Vector2 const& v, float s);
Vector2& operator+=(Vector2& a, Vector2 const& b);
// Not called by the program: for tests and benchmarks.
Vector2& operator-=(Vector2& a, Vector2 const& b);
Vector2& operator*=(Vector2& a, float s);
// Not called by the program: for tests and benchmarks.
Vector2& operator/=(Vector2& a, float s);
