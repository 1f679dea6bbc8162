#pragma once

#include "Entity.h"

// An entity with mass that integrates the summed effect contributions.
// Impulses are changes of velocity: they are not divided by the mass.
class PhysicsEntity : public Entity {
public:
    Vector2 force;
    float mass;
    float restitution;

    // Not called by the program, whose bodies name their kind: for tests.
    explicit PhysicsEntity(Vector2 const& position);

    void update(float dt) override;

    // Not called by the program, whose update takes sums: for tests.
    virtual Vector2 positionAt(float dt) const;
    virtual Vector2 velocityAt(float dt) const;
    // Not called by the program: for tests.
    virtual void applyForce(Vector2 const& f);
    virtual void applyForce(Vector2 const& f, Vector2 const& point);
    virtual void applyImpulse(Vector2 const& j);
    virtual void applyImpulse(Vector2 const& j, Vector2 const& point);
    virtual void applyNudge(Vector2 const& d);

protected:
    PhysicsEntity(Vector2 const& position, Kind kind);
};
