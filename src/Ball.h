#pragma once

#include "PhysicsEntity.h"

class Ball : public PhysicsEntity {
public:
    float radius;
    float const* colour;

    Ball(Vector2 const& centre, float radius, float const* colour);

    float getRadius() const;
    void draw() const override;
};
