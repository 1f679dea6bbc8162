#pragma once

#include <typeinfo>

#include "Vector2.h"

// Anything in the world: a position and a velocity, stepped and drawn.
class Entity {
public:
    // The kinds the world step tells apart: which rules apply to an entity.
    // Each constructor names its own, so a subclass carries the kind of the
    // class it derives from, as a run-time type test would find it; a new
    // kind deriving from Entity or PhysicsEntity directly is `other` or
    // `physics`. Whether an entity is of the class itself is isExactly's
    // question.
    enum class Kind : unsigned char { other, particle, physics, ball, polygon };

    Vector2 position;
    Vector2 velocity;

    // Not called by the program, whose entities name their kind: for tests.
    explicit Entity(Vector2 const& position);
    virtual ~Entity();

    virtual void update(float dt) = 0;
    virtual void draw() const = 0;

    Vector2 const& positionRaw() const;
    Vector2 const& velocityRaw() const;

    Kind kind() const { return entityKind; }
    bool isParticle() const { return entityKind == Kind::particle; }
    bool isPhysics() const
    {
        return entityKind == Kind::physics || entityKind == Kind::ball || entityKind == Kind::polygon;
    }

protected:
    Entity(Vector2 const& position, Kind kind);

private:
    Kind entityKind;
};

// Whether `entity` is of class T itself and not of a subclass. Code that does
// a class's work without its virtual calls (an impulse added in place, a body
// drawn from a copy) may do so only for the class itself, as a subclass may
// override that work; kind() cannot tell, since it reports a subclass as its
// base.
template <typename T>
bool isExactly(Entity const& entity)
{
    return typeid(entity) == typeid(T);
}
