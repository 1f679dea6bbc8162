#pragma once

#include "Effect.h"

// Downward acceleration in pixels per ms squared.
extern float forceGravity;

class Gravity : public Effect {
public:
    Gravity();

    Vector2 forceDelta(PhysicsEntity const* e, float dt) const override;
    void addTo(EffectSums& sums, PhysicsEntity const* e, float dt) const override;
};
