#pragma once

#include "Vector2.h"

class PhysicsEntity;

// A rule acting on every physics entity in every step. It reports
// contributions and never changes the entity; the base contributes nothing.
class Effect {
public:
    Effect();
    virtual ~Effect();

    virtual Vector2 positionDelta(PhysicsEntity const* e, float dt) const;
    virtual Vector2 velocityDelta(PhysicsEntity const* e, float dt) const;
    virtual Vector2 forceDelta(PhysicsEntity const* e, float dt) const;
};
