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
