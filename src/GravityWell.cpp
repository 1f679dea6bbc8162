#include "GravityWell.h"

#include "PhysicsEntity.h"

float wellGravity = 0.5f;

GravityWell::GravityWell(Vector2 const& where) : position(where) {}

void GravityWell::setPosition(Vector2 const& where)
{
    position = where;
}

Vector2 GravityWell::forceDelta(PhysicsEntity const* e, float) const
{
    const Vector2 d = position - e->positionRaw();
    const float s = d.sqrLength();
    // The inner cut-off keeps the pull finite at the well itself.
    if (s > 0.5f)
        return ((d / s) * e->mass) * wellGravity;
    return Vector2(0.0f, 0.0f);
}
