#include "CollisionInfo.h"

#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "debug.h"
#include "mathw.h"

CollisionInfo::CollisionInfo() : point(), normal() {}

namespace contact {

namespace {

Shares sharesOf(Body const& bodyA, Body const& bodyB, Contact<float> const& c)
{
    const float e = (bodyA.restitution + bodyB.restitution) * 0.5f;
    const float j = -(1.0f + e) * c.normalVelocity / (c.normalSquared * (bodyA.inverseMass + bodyB.inverseMass));
    return {j / bodyA.mass, -j / bodyB.mass};
}

}  // namespace

// Field by field, as it runs after every response.
void renewMotion(Body& body, Ball const* ball)
{
    Vector2 const& p = ball->position;
    const float r = body.radius;
    body.minX = p.x - r;
    body.minY = p.y - r;
    body.maxX = p.x + r;
    body.maxY = p.y + r;
    body.x = p.x;
    body.y = p.y;
    body.vx = ball->velocity.x;
    body.vy = ball->velocity.y;
}

Body bodyOf(Ball const* ball)
{
    Body body;
    body.radius = ball->radius;
    body.mass = ball->mass;
    body.inverseMass = 1.0f / ball->mass;
    body.restitution = ball->restitution;
    body.ball = true;
    body.plain = isExactly<Ball>(*ball);
    renewMotion(body, ball);
    return body;
}

Body bodyOf(Polygon const* polygon)
{
    Vector2 const& min = polygon->bindingMin;
    Vector2 const& max = polygon->bindingMax;
    return {min.x, min.y, max.x, max.y, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, false, false};
}

Shares pushApart(Ball* a, Ball* b, Body const& bodyA, Body const& bodyB, Contact<float> const& c)
{
    const Shares shares = sharesOf(bodyA, bodyB, c);
    if (bodyA.plain && bodyB.plain) {
        addImpulse(a->velocity.x, a->velocity.y, shares.a, c);
        addImpulse(b->velocity.x, b->velocity.y, shares.b, c);
        return shares;
    }
    const float offsetX = bodyA.radius * c.normalX / c.radii;
    const float offsetY = bodyA.radius * c.normalY / c.radii;
    const CollisionInfo info(Vector2(bodyA.x - offsetX, bodyA.y - offsetY), Vector2(c.normalX, c.normalY));
    a->applyImpulse(Vector2(shares.a * info.normal.x, shares.a * info.normal.y), info.point);
    b->applyImpulse(Vector2(shares.b * info.normal.x, shares.b * info.normal.y), info.point);
    return shares;
}

}  // namespace contact

void applyCollision(Ball* a, Ball* b)
{
    const contact::Body bodyA = contact::bodyOf(a);
    const contact::Body bodyB = contact::bodyOf(b);
    const contact::Contact<float> c = contact::contactOf(bodyA, bodyB);
    if (contact::ballsMeet(bodyA, bodyB, c))
        contact::pushApart(a, b, bodyA, bodyB, c);
}

void applyCollision(Polygon* polygon, Ball* ball)
{
    DASSERT(polygon != nullptr);
    DASSERT(ball != nullptr);
    if (contact::apart(contact::bodyOf(ball), contact::bodyOf(polygon)))
        return;
    const Vector2 p = ball->positionRaw();
    const float r = ball->radius;
    const Vector2 v = ball->velocityRaw();
    std::vector<Vector2> const& q = polygon->vertices;
    const std::size_t n = q.size();
    if (n == 0)
        return;
    Vector2 sum(0.0f, 0.0f);
    int count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Vector2 const& from = q[i];
        Vector2 const& to = q[(i + 1) % n];
        const Vector2 d = mathw::vectorToLine(p, from.x, from.y, to.x, to.y);
        if (d.dot(d) <= r * r && d.dot(v) > 0.0f) {
            sum += d;
            ++count;
        }
    }
    if (count == 0)
        return;
    const Vector2 avg = sum / static_cast<float>(count);
    CollisionInfo info;
    info.point = p + avg;
    info.normal = p - info.point;
    Vector2 const& normal = info.normal;
    const float j = -(1.0f + ball->restitution) * (v.dot(normal)) / normal.dot(normal);
    ball->applyImpulse(normal * j);
    ball->applyNudge(info.point + (normal / normal.length()) * r - ball->positionRaw());
}
