#include "Ball.h"

#include "graphics.h"

Ball::Ball(Vector2 const& centre, float r, float const* c)
    : PhysicsEntity(centre, Kind::ball), radius(r), colour(c)
{
}

float Ball::getRadius() const
{
    return radius;
}

void Ball::draw() const
{
    graphics::drawCircle(radius, position, colour);
}
