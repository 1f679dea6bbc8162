#pragma once

class Vector2;

namespace mathw {

// Remainder of a / b made non-negative for negative a (a % b + b).
// Not called by the program: for tests and benchmarks.
int mod(int a, int b);
// Not called by the program: for tests and benchmarks.
float dot(Vector2 const& a, Vector2 const& b);
// The vector turned a quarter: (-v.y, v.x).
// Not called by the program: for tests and benchmarks.
Vector2 perp(Vector2 const& v);
// From p to the nearest point of the segment (x1, y1)-(x2, y2).
Vector2 vectorToLine(Vector2 const& p, float x1, float y1, float x2, float y2);

}  // namespace mathw
