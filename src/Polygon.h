#pragma once

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
