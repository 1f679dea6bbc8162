#include "PhysicsEntity.h"

#include "effectManager.h"

namespace {

// The integration rule, one axis at a time: p, v and f already hold the
// effects. These are the operations of
// ((((f / mass) / 2) * dt) * dt + v * dt) + p and ((f / mass) / 2) * dt + v
// on vectors.
float stepPosition(float p, float v, float f, float mass, float dt)
{
    return ((((f / mass) / 2) * dt) * dt + v * dt) + p;
}

float stepVelocity(float v, float f, float mass, float dt)
{
    return ((f / mass) / 2) * dt + v;
}

}  // namespace

PhysicsEntity::PhysicsEntity(Vector2 const& start) : PhysicsEntity(start, Kind::physics) {}

PhysicsEntity::PhysicsEntity(Vector2 const& start, Kind kind)
    : Entity(start, kind), force(), mass(1.0f), restitution(0.8f)
{
}

Vector2 PhysicsEntity::positionAt(float dt) const
{
    const Vector2 p = position + effect::positionDelta(this, dt);
    const Vector2 v = velocity + effect::velocityDelta(this, dt);
    const Vector2 f = force + effect::forceDelta(this, dt);
    return Vector2(stepPosition(p.x, v.x, f.x, mass, dt), stepPosition(p.y, v.y, f.y, mass, dt));
}

Vector2 PhysicsEntity::velocityAt(float dt) const
{
    const Vector2 f = force + effect::forceDelta(this, dt);
    const Vector2 v = velocity + effect::velocityDelta(this, dt);
    return Vector2(stepVelocity(v.x, f.x, mass, dt), stepVelocity(v.y, f.y, mass, dt));
}

// positionAt, then velocityAt at the new position, with each evaluation of
// the effects done in one pass over them.
void PhysicsEntity::update(float dt)
{
    const EffectSums before = effect::sums(this, dt);
    position.x = stepPosition(position.x + before.position.x, velocity.x + before.velocity.x,
                              force.x + before.force.x, mass, dt);
    position.y = stepPosition(position.y + before.position.y, velocity.y + before.velocity.y,
                              force.y + before.force.y, mass, dt);
    const EffectSums after = effect::sums(this, dt);
    velocity.x = stepVelocity(velocity.x + after.velocity.x, force.x + after.force.x, mass, dt);
    velocity.y = stepVelocity(velocity.y + after.velocity.y, force.y + after.force.y, mass, dt);
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

// Component by component, without the operator's call: contacts call this
// for every response.
void PhysicsEntity::applyImpulse(Vector2 const& j, Vector2 const&)
{
    velocity.x += j.x;
    velocity.y += j.y;
}

void PhysicsEntity::applyNudge(Vector2 const& d)
{
    position += d;
}
