#pragma once

#include "Effect.h"

// Strength of the well's pull.
extern float wellGravity;

// Pulls towards its position with a force that falls off with the distance.
class GravityWell : public Effect {
public:
    Vector2 position;

    explicit GravityWell(Vector2 const& position);

    void setPosition(Vector2 const& position);
    Vector2 forceDelta(PhysicsEntity const* e, float dt) const override;
};
