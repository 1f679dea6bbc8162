#include "mathw.h"

#include <cmath>

#include "Vector2.h"

namespace mathw {

int mod(int a, int b)
{
    return a < 0 ? a % b + b : a % b;
}

float dot(Vector2 const& a, Vector2 const& b)
{
    return a.x * b.x + a.y * b.y;
}

Vector2 perp(Vector2 const& v)
{
    return Vector2(-v.y, v.x);
}

Vector2 vectorToLine(Vector2 const& p, float x1, float y1, float x2, float y2)
{
    const float dx = x1 - x2;
    const float dy = y1 - y2;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len == 0.0f)
        return Vector2(x1 - p.x, y1 - p.y);
    const float u = ((p.x - x1) * (x2 - x1) + (p.y - y1) * (y2 - y1)) / (len * len);
    if (u < 0.0f)
        return Vector2(x1 - p.x, y1 - p.y);
    if (u > 1.0f)
        return Vector2(x2 - p.x, y2 - p.y);
    return Vector2(x1 + u * (x2 - x1) - p.x, y1 + u * (y2 - y1) - p.y);
}

}  // namespace mathw
