#include "Gravity.h"

#include "PhysicsEntity.h"

float forceGravity = 0.001f;

Gravity::Gravity() {}

namespace {

float pullOn(PhysicsEntity const* e)
{
    return e->mass * forceGravity;
}

}  // namespace

Vector2 Gravity::forceDelta(PhysicsEntity const* e, float) const
{
    return Vector2(0.0f, pullOn(e));
}

// No position or velocity contribution: zeros are added, as the sums add them.
void Gravity::addTo(EffectSums& sums, PhysicsEntity const* e, float) const
{
    sums.add(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, pullOn(e));
}
