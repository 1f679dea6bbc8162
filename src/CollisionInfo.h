#pragma once

// The world step's results are fixed to the bit: every body's position and
// velocity after every tick must stay identical whatever is made faster.
// Contacts are settled one after another, each reading what the earlier ones
// left, so a change in the last bit of one velocity soon grows into a
// different world, and a run must replay the same on every machine and
// build. So each fast path (the grid's copies of the bodies and its four
// lanes, the effects summed in one pass, the integration on floats) performs
// the operations of its plain definition in the same order, in single
// precision, without contraction. tests/golden_trajectory_test.cpp guards
// this: the starting scene and a pour of 2,000 balls must reproduce, to the
// last bit, trajectories recorded from the first version of the world step;
// other tests hold each fast path to its plain definition.

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

// The quantities of a ball-ball contact between a first ball A and a second
// ball B.
template <typename F>
struct Contact {
    // d = pA - pB, from B's centre to A's: the contact normal.
    F normalX;
    F normalY;
    // d·d, the squared distance of the centres.
    F normalSquared;
    // rA + rB.
    F radii;
    // (vA - vB)·d, the relative velocity along the normal: below zero while
    // the balls approach.
    F normalVelocity;
};

template <typename A, typename B>
auto contactOf(A const& a, B const& b)
{
    Contact<decltype(a.x - b.x)> c;
    c.normalX = a.x - b.x;
    c.normalY = a.y - b.y;
    c.normalSquared = c.normalX * c.normalX + c.normalY * c.normalY;
    c.radii = a.radius + b.radius;
    c.normalVelocity = (a.vx - b.vx) * c.normalX + (a.vy - b.vy) * c.normalY;
    return c;
}

// Whether the ball-ball response acts: the boxes meet, the centres are
// strictly nearer than the sum of the radii, and the balls strictly approach.
template <typename A, typename B, typename F>
auto ballsMeet(A const& a, B const& b, Contact<F> const& c)
{
    return (apart(a, b) == 0) & (c.normalSquared < c.radii * c.radii) & (c.normalVelocity < 0.0f);
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
    vx += share * c.normalX;
    vy += share * c.normalY;
}

// The ball-ball response to a contact that ballsMeet found on the balls'
// current state, with the mean restitution: plain balls take the impulses
// directly, others through applyImpulse at the contact point. Returns the
// shares applied.
Shares pushApart(Ball* a, Ball* b, Body const& bodyA, Body const& bodyB, Contact<float> const& c);

}  // namespace contact

// The two responses. Both read the bodies afresh, so a later test in a tick
// sees the result of an earlier one.
// Not called by the program, whose grid pass calls pushApart: for tests and
// benchmarks.
void applyCollision(Ball* a, Ball* b);
// The grid pass calls this one for every ball and polygon whose boxes meet.
void applyCollision(Polygon* polygon, Ball* ball);
