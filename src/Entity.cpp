#include "Entity.h"

Entity::Entity(Vector2 const& start) : Entity(start, Kind::other) {}

Entity::Entity(Vector2 const& start, Kind kind) : position(start), velocity(), entityKind(kind) {}

Entity::~Entity() {}

Vector2 const& Entity::positionRaw() const
{
    return position;
}

Vector2 const& Entity::velocityRaw() const
{
    return velocity;
}
