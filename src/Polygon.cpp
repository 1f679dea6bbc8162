#include "Polygon.h"

#include <algorithm>
#include <cstdint>

#include "debug.h"
#include "graphics.h"

Polygon::Polygon(std::vector<Vector2> const& corners, float const* c)
    : PhysicsEntity(Vector2(0.0f, 0.0f), Kind::polygon), bindingMax(), bindingMin(), vertices(), colour(c)
{
    DASSERT(!corners.empty());
    vertices = corners;
    createBindingBox();
}

void Polygon::createBindingBox()
{
    DASSERT(!vertices.empty());
    bindingMax = vertices[0];
    bindingMin = vertices[0];
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        Vector2 const& v = vertices[i];
        if (v.x < bindingMin.x)
            bindingMin.x = v.x;
        else if (v.x > bindingMax.x)
            bindingMax.x = v.x;
        if (v.y < bindingMin.y)
            bindingMin.y = v.y;
        else if (v.y > bindingMax.y)
            bindingMax.y = v.y;
    }
}

void Polygon::draw() const
{
    graphics::drawPolygon(vertices, colour);
}

bool Polygon::contains(Vector2 const& point) const
{
    // Inside a convex polygon the point is on the same side of every edge.
    bool left = false;
    bool right = false;
    const std::size_t n = vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        Vector2 const& a = vertices[i];
        Vector2 const& b = vertices[(i + 1) % n];
        const float side = polygon::cross<float>(a, b, point);
        left = left || side > 0.0f;
        right = right || side < 0.0f;
    }
    return !(left && right);
}

namespace polygon {

namespace {

// Turning the same way at every corner, and round only once: each
// coordinate of the edges changes sign at most twice.
bool convex(std::vector<Vector2> const& corners)
{
    const std::size_t n = corners.size();
    bool left = false;
    bool right = false;
    int xTurns = 0;
    int yTurns = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Vector2 const& a = corners[i];
        Vector2 const& b = corners[(i + 1) % n];
        Vector2 const& c = corners[(i + 2) % n];
        // The turn at b.
        const double turn = cross<double>(b, c, a);
        left = left || turn > 0.0;
        right = right || turn < 0.0;
        xTurns += ((b.x - a.x) > 0.0f) != ((c.x - b.x) > 0.0f) && b.x != a.x && c.x != b.x;
        yTurns += ((b.y - a.y) > 0.0f) != ((c.y - b.y) > 0.0f) && b.y != a.y && c.y != b.y;
    }
    return (left != right) && xTurns <= 2 && yTurns <= 2;
}

std::int64_t area2(Pixel const& a, Pixel const& b, Pixel const& c)
{
    return cross<std::int64_t>(a, b, c);
}

// Drops the corner whose loss costs the least area (the first of equals)
// until at most `most` are left; a convex polygon stays convex.
void cut(std::vector<Pixel>& hull, std::size_t most)
{
    while (hull.size() > most) {
        const std::size_t n = hull.size();
        std::size_t cheapest = 0;
        std::int64_t least = INT64_MAX;
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t area = area2(hull[(i + n - 1) % n], hull[i], hull[(i + 1) % n]);
            if (area < least) {
                least = area;
                cheapest = i;
            }
        }
        hull.erase(hull.begin() + static_cast<std::ptrdiff_t>(cheapest));
    }
}

}  // namespace

bool check(std::vector<Vector2> const& corners, std::string& why)
{
    if (corners.size() < kMinCorners)
        why = "a polygon has at least " + std::to_string(kMinCorners) + " corners";
    else if (corners.size() > kMaxCorners)
        why = "a polygon has at most " + std::to_string(kMaxCorners) + " corners";
    else if (!convex(corners))
        why = "the polygon is not convex";
    else
        return true;
    return false;
}

// Andrew's monotone chain: the lower chain, then the upper one; a turn that
// is not strictly to the same side drops the middle point.
std::vector<Pixel> hull(std::vector<Pixel> points, std::size_t most)
{
    std::sort(points.begin(), points.end(), [](Pixel const& a, Pixel const& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    points.erase(std::unique(points.begin(), points.end(),
                             [](Pixel const& a, Pixel const& b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    if (points.size() < 3)
        return points;
    std::vector<Pixel> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && area2(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && area2(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    cut(hull, most);
    return hull;
}

}  // namespace polygon
