#pragma once

#include "Effect.h"

// The middle button's hold on a ball: a damped spring towards the pointer.
// Its stiffness is the same for every ball, so a heavy ball lags behind a
// fast pointer; its damping is critical for the ball's mass (no ball swings
// about the pointer); its pull is at most kMostPull times the mass; and it
// carries the ball's weight, so a ball held still comes to rest at the
// pointer. It acts on the held ball alone.
class Grab : public Effect {
public:
    // Force per pixel between the ball and the pointer.
    static constexpr float kStiffness = 0.002f;
    // Acceleration of the strongest pull, in pixels per ms squared.
    static constexpr float kMostPull = 0.1f;

    PhysicsEntity const* held = nullptr;
    Vector2 target;

    Vector2 forceDelta(PhysicsEntity const* e, float dt) const override;
};
