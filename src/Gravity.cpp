#include "Gravity.h"

#include "PhysicsEntity.h"

float forceGravity = 0.001f;

Gravity::Gravity() {}

Vector2 Gravity::forceDelta(PhysicsEntity const* e, float) const
{
    return Vector2(0.0f, e->mass * forceGravity);
}
