#pragma once

#include "Effect.h"

// The window edges as walls: a ball's disc, or another body's position
// point, is kept inside the window and bounced back.
class Screen : public Effect {
public:
    Screen();

    Vector2 positionDelta(PhysicsEntity const* e, float dt) const override;
    Vector2 velocityDelta(PhysicsEntity const* e, float dt) const override;
    void addTo(EffectSums& sums, PhysicsEntity const* e, float dt) const override;
};
