#pragma once

#include "Vector2.h"

class Ball;
class Polygon;

// One contact: where it is, and the (not normalised) normal pointing towards
// the body that the response pushes away.
class CollisionInfo {
public:
    Vector2 point;
    Vector2 normal;

    CollisionInfo();
    // Inline: the ball-ball response makes one for every contact.
    CollisionInfo(Vector2 const& where, Vector2 const& towards) : point(where), normal(towards) {}
    ~CollisionInfo() {}
};

// The contact rules: the quantities both responses read off the bodies, and
// the responses. The grid pass settles its pairs with the same definitions.
namespace contact {

// A body as the contact tests look at it: its box and, for a ball, its
// centre, radius, velocity, mass (and 1 / mass) and restitution.
struct Body {
    float minX;
    float minY;
    float maxX;
    float maxY;
    float x;
    float y;
    float radius;
    float vx;
    float vy;
    float mass;
    float inverseMass;
    float restitution;
    bool ball;
    // Of class Ball itself, whose impulses are PhysicsEntity's.
    bool plain;
};

Body bodyOf(Ball const* ball);
// Polygons are never moved by a response.
Body bodyOf(Polygon const* polygon);
// What a response may change: a ball's position, and so its box, and its
// velocity.
void renewMotion(Body& body, Ball const* ball);

// Both responses begin by rejecting the pair when their boxes are apart
// (boxes that merely touch are not). For a body and four lanes of the grid
// pass: lane by lane.
template <typename A, typename B>
auto apart(A const& a, B const& b)
{
    return (a.minX > b.maxX) | (b.minX > a.maxX) | (a.minY > b.maxY) | (b.minY > a.maxY);
}

// The quantities of a ball-ball contact: d = pA - pB, which is also the
// normal, its square d·d, the sum of the radii and (vA - vB)·d, computed as
// Vector2's operations compute them.
template <typename F>
struct Contact {
    F dx;
    F dy;
    F squared;
    F reach;
    F approach;
};

template <typename A, typename B>
auto contactOf(A const& a, B const& b)
{
    Contact<decltype(a.x - b.x)> c;
    c.dx = a.x - b.x;
    c.dy = a.y - b.y;
    c.squared = c.dx * c.dx + c.dy * c.dy;
    c.reach = a.radius + b.radius;
    c.approach = (a.vx - b.vx) * c.dx + (a.vy - b.vy) * c.dy;
    return c;
}

// Whether the ball-ball response acts: the boxes meet, the centres are
// strictly nearer than the sum of the radii, and the balls strictly approach.
template <typename A, typename B, typename F>
auto ballsMeet(A const& a, B const& b, Contact<F> const& c)
{
    return (apart(a, b) == 0) & (c.squared < c.reach * c.reach) & (c.approach < 0.0f);
}

// The velocity changes of a ball-ball response are share·d, one share for
// each ball.
struct Shares {
    float a;
    float b;
};

// PhysicsEntity's impulse, which adds to the velocity and ignores the
// contact point: the same additions, without the calls and the point.
inline void addImpulse(float& vx, float& vy, float share, Contact<float> const& c)
{
    vx += share * c.dx;
    vy += share * c.dy;
}

// The ball-ball response to a contact that ballsMeet found on the balls'
// current state, with the mean restitution: plain balls take the impulses
// directly, others through applyImpulse at the contact point. Returns the
// shares applied.
Shares pushApart(Ball* a, Ball* b, Body const& bodyA, Body const& bodyB, Contact<float> const& c);

}  // namespace contact

// The two responses. Both read the bodies afresh, so a later test in a tick
// sees the result of an earlier one.
void applyCollision(Ball* a, Ball* b);
void applyCollision(Polygon* polygon, Ball* ball);
