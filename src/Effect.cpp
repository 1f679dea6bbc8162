#include "Effect.h"

Effect::Effect() {}

Effect::~Effect() {}

Vector2 Effect::positionDelta(PhysicsEntity const*, float) const
{
    return Vector2(0.0f, 0.0f);
}

Vector2 Effect::velocityDelta(PhysicsEntity const*, float) const
{
    return Vector2(0.0f, 0.0f);
}

Vector2 Effect::forceDelta(PhysicsEntity const*, float) const
{
    return Vector2(0.0f, 0.0f);
}

void Effect::addTo(EffectSums& sums, PhysicsEntity const* e, float dt) const
{
    sums.position += positionDelta(e, dt);
    sums.velocity += velocityDelta(e, dt);
    sums.force += forceDelta(e, dt);
}
