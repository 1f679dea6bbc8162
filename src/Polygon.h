#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "PhysicsEntity.h"

// A fixed convex obstacle. Its vertices are absolute and never change; its
// position is integrated like any body's but nothing places it by position.
class Polygon : public PhysicsEntity {
public:
    Vector2 bindingMax;
    Vector2 bindingMin;
    std::vector<Vector2> vertices;
    float const* colour;

    Polygon(std::vector<Vector2> const& vertices, float const* colour);

    void createBindingBox();
    void draw() const override;
    // Whether the point lies inside or on the edge; for convex polygons, as
    // every polygon of the world is.
    bool contains(Vector2 const& point) const;
};

// The rules every polygon of the world keeps, whoever makes it: a scene
// file, a person drawing, a benchmark.
namespace polygon {

const std::size_t kMinCorners = 3;
const std::size_t kMaxCorners = 16;
// The most polygons a world holds, the starting triangle included.
const std::size_t kMaxInWorld = 64;

// Twice the signed area of the triangle a, b, c, each coordinate taken as a
// T before any arithmetic: exact for window pixels in 64-bit integers.
template <typename T, typename Point>
T cross(Point const& a, Point const& b, Point const& c)
{
    return (T(b.x) - T(a.x)) * (T(c.y) - T(a.y)) - (T(b.y) - T(a.y)) * (T(c.x) - T(a.x));
}

// Whether the corners make a polygon of the world: kMinCorners to
// kMaxCorners of them in a convex ring; false, with the reason in `why`.
bool check(std::vector<Vector2> const& corners, std::string& why);

// A point in window pixels.
struct Pixel {
    int x;
    int y;
};

// The convex hull of the points without collinear corners, in ring order
// from the leftmost (then topmost) point. Of a hull of more than `most`
// corners, the corners whose loss costs least area go first (the first of
// equals), so it stays convex. Fewer than three points come back as they
// are, duplicates dropped; points all on one line come back as the two ends.
std::vector<Pixel> hull(std::vector<Pixel> points, std::size_t most = kMaxCorners);

}  // namespace polygon
