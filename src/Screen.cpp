#include "Screen.h"

#include "Ball.h"
#include "graphics.h"

namespace {

const float kWidth = static_cast<float>(graphics::kWidth);
const float kHeight = static_cast<float>(graphics::kHeight);

float marginOf(PhysicsEntity const* e)
{
    return e->kind() == Entity::Kind::ball ? static_cast<Ball const*>(e)->getRadius() : 0.0f;
}

// The two corrections as floats, each starting from zero; `r` is the margin.
void positionCorrection(PhysicsEntity const* e, float r, float& x, float& y)
{
    Vector2 const& p = e->position;
    x = 0.0f;
    y = 0.0f;
    if (p.y > kHeight - r)
        y += (kHeight - r) - p.y;
    if (p.y < r)
        y += r - p.y;
    if (p.x > kWidth - r)
        x += (kWidth - r) - p.x;
    if (p.x < r)
        x += r - p.x;
}

void velocityCorrection(PhysicsEntity const* e, float r, float& x, float& y)
{
    const float bounce = 1.0f + e->restitution;
    Vector2 const& p = e->position;
    Vector2 const& v = e->velocity;
    x = 0.0f;
    y = 0.0f;
    if (p.y > kHeight - r && v.y > 0.0f)
        y -= bounce * v.y;
    if (p.y < r && v.y < 0.0f)
        y -= bounce * v.y;
    if (p.x > kWidth - r && v.x > 0.0f)
        x -= bounce * v.x;
    if (p.x < r && v.x < 0.0f)
        x -= bounce * v.x;
}

}  // namespace

Screen::Screen() {}

Vector2 Screen::positionDelta(PhysicsEntity const* e, float) const
{
    Vector2 result;
    positionCorrection(e, marginOf(e), result.x, result.y);
    return result;
}

Vector2 Screen::velocityDelta(PhysicsEntity const* e, float) const
{
    Vector2 result;
    velocityCorrection(e, marginOf(e), result.x, result.y);
    return result;
}

// No force: a zero force is added, as the sums add it.
void Screen::addTo(EffectSums& sums, PhysicsEntity const* e, float) const
{
    const float r = marginOf(e);
    float positionX;
    float positionY;
    float velocityX;
    float velocityY;
    positionCorrection(e, r, positionX, positionY);
    velocityCorrection(e, r, velocityX, velocityY);
    sums.add(positionX, positionY, velocityX, velocityY, 0.0f, 0.0f);
}
