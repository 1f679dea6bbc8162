#include "Polygon.h"

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
        const float side = (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
        left = left || side > 0.0f;
        right = right || side < 0.0f;
    }
    return !(left && right);
}
