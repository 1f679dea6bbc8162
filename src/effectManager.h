#pragma once

#include "Effect.h"
#include "Vector2.h"

class Entity;
class PhysicsEntity;

namespace effect {

void init();
void clean();
void update(float dt);
// Switches and moves the gravity well from the control flags; takes hold of
// the ball drawn under the pointer when the middle button goes down, lets
// go when it is up, and pulls the held ball towards the pointer.
void handleInput();

// The gravity well: where it stands and whether it is on.
Vector2 wellPosition();
bool wellOn();
void setWell(Vector2 const& position, bool on);

// Lets go of the entity if it is the one held: a body leaving the world.
void letGo(Entity const* entity);
// The hold as a tick leaves it: the ball held (null for none; a ball stands
// at the same address whenever the world is built back in its slots) and
// the point it is pulled towards. Rewinding takes it back with the world.
struct Hold {
    PhysicsEntity const* held = nullptr;
    Vector2 target;
};
Hold hold();
void setHold(Hold const& hold);

// Sums over the active effects, in set order; (0, 0) when none is active.
// Not called by the program, which takes sums: for tests and benchmarks.
Vector2 positionDelta(PhysicsEntity const* e, float dt);
Vector2 velocityDelta(PhysicsEntity const* e, float dt);
Vector2 forceDelta(PhysicsEntity const* e, float dt);
// All three sums in one pass: each equals its function above.
EffectSums sums(PhysicsEntity const* e, float dt);

}  // namespace effect
