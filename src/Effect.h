#pragma once

#include "Vector2.h"

class PhysicsEntity;

// Running totals of the three contributions over the active effects.
struct EffectSums {
    Vector2 position;
    Vector2 velocity;
    Vector2 force;

    // Adds one effect's contributions, component by component, without a
    // call per vector.
    void add(float positionX, float positionY, float velocityX, float velocityY, float forceX, float forceY)
    {
        position.x += positionX;
        position.y += positionY;
        velocity.x += velocityX;
        velocity.y += velocityY;
        force.x += forceX;
        force.y += forceY;
    }
};

// A rule acting on every physics entity in every step. It reports
// contributions and never changes the entity; the base contributes nothing.
class Effect {
public:
    Effect();
    virtual ~Effect();

    virtual Vector2 positionDelta(PhysicsEntity const* e, float dt) const;
    virtual Vector2 velocityDelta(PhysicsEntity const* e, float dt) const;
    virtual Vector2 forceDelta(PhysicsEntity const* e, float dt) const;

    // Adds the three contributions above to the totals, in one call instead
    // of three. Overrides must add exactly what the three operations return.
    virtual void addTo(EffectSums& sums, PhysicsEntity const* e, float dt) const;
};
