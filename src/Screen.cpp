#include "Screen.h"

#include "Ball.h"

namespace {

const float kWidth = 800.0f;
const float kHeight = 600.0f;

float marginOf(PhysicsEntity const* e)
{
    Ball const* ball = dynamic_cast<Ball const*>(e);
    return ball != nullptr ? ball->getRadius() : 0.0f;
}

}  // namespace

Screen::Screen() {}

Vector2 Screen::positionDelta(PhysicsEntity const* e, float) const
{
    const float r = marginOf(e);
    Vector2 const& p = e->positionRaw();
    Vector2 result(0.0f, 0.0f);
    if (p.y > kHeight - r)
        result.y += (kHeight - r) - p.y;
    if (p.y < r)
        result.y += r - p.y;
    if (p.x > kWidth - r)
        result.x += (kWidth - r) - p.x;
    if (p.x < r)
        result.x += r - p.x;
    return result;
}

Vector2 Screen::velocityDelta(PhysicsEntity const* e, float) const
{
    const float r = marginOf(e);
    const float bounce = 1.0f + e->restitution;
    Vector2 const& p = e->positionRaw();
    Vector2 const& v = e->velocityRaw();
    Vector2 result(0.0f, 0.0f);
    if (p.y > kHeight - r && v.y > 0.0f)
        result.y -= bounce * v.y;
    if (p.y < r && v.y < 0.0f)
        result.y -= bounce * v.y;
    if (p.x > kWidth - r && v.x > 0.0f)
        result.x -= bounce * v.x;
    if (p.x < r && v.x < 0.0f)
        result.x -= bounce * v.x;
    return result;
}
