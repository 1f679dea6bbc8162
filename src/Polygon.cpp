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
