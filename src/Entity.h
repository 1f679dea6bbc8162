#pragma once

#include "Vector2.h"

// Anything in the world: a position and a velocity, stepped and drawn.
class Entity {
public:
    Vector2 position;
    Vector2 velocity;

    explicit Entity(Vector2 const& position);
    virtual ~Entity();

    virtual void update(float dt) = 0;
    virtual void draw() const = 0;

    Vector2 const& positionRaw() const;
    Vector2 const& velocityRaw() const;
};
