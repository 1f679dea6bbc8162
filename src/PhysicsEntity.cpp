#include "PhysicsEntity.h"

#include "effectManager.h"

PhysicsEntity::PhysicsEntity(Vector2 const& start)
    : Entity(start), force(), mass(1.0f), restitution(0.8f)
{
}

// The order of every float operation below is fixed: trajectories are
// compared bit for bit.
Vector2 PhysicsEntity::positionAt(float dt) const
{
    const Vector2 p = position + effect::positionDelta(this, dt);
    const Vector2 v = velocity + effect::velocityDelta(this, dt);
    const Vector2 f = force + effect::forceDelta(this, dt);
    return ((((f / mass) / 2) * dt) * dt + v * dt) + p;
}

Vector2 PhysicsEntity::velocityAt(float dt) const
{
    const Vector2 f = force + effect::forceDelta(this, dt);
    const Vector2 v = velocity + effect::velocityDelta(this, dt);
    return ((f / mass) / 2) * dt + v;
}

void PhysicsEntity::update(float dt)
{
    position = positionAt(dt);
    velocity = velocityAt(dt);
    force *= 0;
}

void PhysicsEntity::applyForce(Vector2 const& f)
{
    applyForce(f, position);
}

void PhysicsEntity::applyForce(Vector2 const& f, Vector2 const&)
{
    force += f;
}

void PhysicsEntity::applyImpulse(Vector2 const& j)
{
    applyImpulse(j, position);
}

void PhysicsEntity::applyImpulse(Vector2 const& j, Vector2 const&)
{
    velocity += j;
}

void PhysicsEntity::applyNudge(Vector2 const& d)
{
    position += d;
}
