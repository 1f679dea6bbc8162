#include "Entity.h"

Entity::Entity(Vector2 const& start) : position(start), velocity() {}

Entity::~Entity() {}

Vector2 const& Entity::positionRaw() const
{
    return position;
}

Vector2 const& Entity::velocityRaw() const
{
    return velocity;
}
