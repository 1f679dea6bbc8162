#include "Vector2.h"

#include <cmath>
#include <cstdio>
#include <iostream>

#include "debug.h"

Vector2::Vector2() : x(0.0f), y(0.0f) {}

Vector2::Vector2(float xValue, float yValue) : x(xValue), y(yValue) {}

void Vector2::zero()
{
    x = 0.0f;
    y = 0.0f;
}

float Vector2::dot(Vector2 const& o) const
{
    return x * o.x + y * o.y;
}

float Vector2::sqrLength() const
{
    return dot(*this);
}

float Vector2::length() const
{
    return std::sqrt(x * x + y * y);
}

void Vector2::unit()
{
    const float len = length();
    x /= len;
    y /= len;
}

float Vector2::angle() const
{
    DASSERT(false);
    return 0.0f;
}

Vector2 Vector2::add(Vector2 const& o) const
{
    return Vector2(x + o.x, y + o.y);
}

Vector2 Vector2::subtract(Vector2 const& o) const
{
    return Vector2(x - o.x, y - o.y);
}

Vector2 Vector2::multiply(float s) const
{
    return Vector2(s * x, s * y);
}

Vector2 Vector2::divide(float s) const
{
    return Vector2(x / s, y / s);
}

std::string Vector2::toString() const
{
    // snprintf truncates: components near the float maximum need more than
    // the buffer holds, and must not write past it.
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, "Vector2  X: %f, Y: %f", static_cast<double>(x),
                  static_cast<double>(y));
    return std::string(buffer);
}

void Vector2::print() const
{
    std::cout << toString() << '\n';
}

Vector2 operator+(Vector2 const& a, Vector2 const& b)
{
    return a.add(b);
}

Vector2 operator-(Vector2 const& a, Vector2 const& b)
{
    return a.subtract(b);
}

Vector2 operator*(float s, Vector2 const& v)
{
    return v.multiply(s);
}

Vector2 operator*(Vector2 const& v, float s)
{
    return v.multiply(s);
}

Vector2 operator/(Vector2 const& v, float s)
{
    return v.divide(s);
}

Vector2& operator+=(Vector2& a, Vector2 const& b)
{
    a.x += b.x;
    a.y += b.y;
    return a;
}

Vector2& operator-=(Vector2& a, Vector2 const& b)
{
    a.x -= b.x;
    a.y -= b.y;
    return a;
}

Vector2& operator*=(Vector2& a, float s)
{
    a.x *= s;
    a.y *= s;
    return a;
}

Vector2& operator/=(Vector2& a, float s)
{
    a.x /= s;
    a.y /= s;
    return a;
}
