#pragma once

#include "Effect.h"
#include "Vector2.h"

class PhysicsEntity;

namespace effect {

void init();
void clean();
void update(float dt);
// Switches and moves the gravity well from the control flags.
void handleInput();

// Sums over the active effects, in set order; (0, 0) when none is active.
// Not called by the program, which takes sums: for tests and benchmarks.
Vector2 positionDelta(PhysicsEntity const* e, float dt);
Vector2 velocityDelta(PhysicsEntity const* e, float dt);
Vector2 forceDelta(PhysicsEntity const* e, float dt);
// All three sums in one pass: each equals its function above.
EffectSums sums(PhysicsEntity const* e, float dt);

}  // namespace effect
