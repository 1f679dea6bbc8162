// Contact responses called directly: ball against ball, ball against a fixed
// square.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "entity_probes.h"
#include "float_checks.h"
#include "graphics.h"

using probe::ImpulseBall;

namespace {

// Counts every attempt to push or accelerate it; a fixed obstacle gets none.
class WatchedPolygon : public Polygon {
public:
    int pushes = 0;

    explicit WatchedPolygon(std::vector<Vector2> const& corners) : Polygon(corners, cRed) {}

    using Polygon::applyImpulse;
    void applyImpulse(Vector2 const& j, Vector2 const& point) override
    {
        ++pushes;
        Polygon::applyImpulse(j, point);
    }
    void applyNudge(Vector2 const& d) override
    {
        ++pushes;
        Polygon::applyNudge(d);
    }
};

WatchedPolygon square()
{
    return WatchedPolygon({Vector2(100, 100), Vector2(200, 100), Vector2(200, 200), Vector2(100, 200)});
}

Vector2 momentum(Ball const& a, Ball const& b)
{
    return a.mass * a.velocity + b.mass * b.velocity;
}

void expectUntouched(ImpulseBall const& ball, Vector2 const& position, Vector2 const& velocity)
{
    EXPECT_TRUE(ball.impulses.empty());
    EXPECT_EQ(ball.position.x, position.x);
    EXPECT_EQ(ball.position.y, position.y);
    EXPECT_EQ(ball.velocity.x, velocity.x);
    EXPECT_EQ(ball.velocity.y, velocity.y);
}

// Two radius-20 balls that must not respond to each other.
void expectPairIgnored(Vector2 const& pa, Vector2 const& va, Vector2 const& pb, Vector2 const& vb)
{
    SCOPED_TRACE(pa.toString() + " " + va.toString() + " against " + pb.toString() + " " + vb.toString());
    ImpulseBall a(pa, 20, va);
    ImpulseBall b(pb, 20, vb);
    applyCollision(&a, &b);
    expectUntouched(a, pa, va);
    expectUntouched(b, pb, vb);
}

// A radius-10 ball that the square must leave exactly as it was.
void expectIgnoredBySquare(Vector2 const& position, Vector2 const& velocity)
{
    SCOPED_TRACE(position.toString() + " " + velocity.toString());
    WatchedPolygon box = square();
    ImpulseBall ball(position, 10, velocity);
    applyCollision(&box, &ball);
    expectUntouched(ball, position, velocity);
    EXPECT_EQ(box.pushes, 0);
}

}  // namespace

TEST(BallBallContact, HeadOnHitBetweenEqualBalls)
{
    ImpulseBall a(Vector2(0, 0), 20, Vector2(1, 0));
    ImpulseBall b(Vector2(30, 0), 20, Vector2(0, 0));
    applyCollision(&a, &b);

    // j = 0.03 along the normal (-30, 0): A first, then B, at the meeting point.
    ASSERT_EQ(a.impulses.size(), 1u);
    ASSERT_EQ(b.impulses.size(), 1u);
    expectVector(a.impulses[0].change, -0.9f, 0);
    expectVector(b.impulses[0].change, 0.9f, 0);
    expectVector(a.impulses[0].point, 15, 0);
    expectVector(b.impulses[0].point, 15, 0);

    expectVector(a.velocity, 0.1f, 0);
    expectVector(b.velocity, 0.9f, 0);
    expectVector(momentum(a, b), 1, 0);
    // No positional correction between balls.
    EXPECT_EQ(a.position.x, 0.0f);
    EXPECT_EQ(b.position.x, 30.0f);
}

TEST(BallBallContact, ContactNeedsStrictOverlap)
{
    expectPairIgnored(Vector2(0, 0), Vector2(1, 0), Vector2(40, 0), Vector2(0, 0));
    // Boxes overlap, discs do not (distance 42.4).
    expectPairIgnored(Vector2(30, 30), Vector2(-1, -1), Vector2(0, 0), Vector2(0, 0));

    ImpulseBall near(Vector2(0, 0), 20, Vector2(1, 0));
    ImpulseBall far(Vector2(39.9f, 0), 20, Vector2(0, 0));
    applyCollision(&near, &far);
    EXPECT_EQ(near.impulses.size(), 1u);
    expectVector(near.velocity, 0.1f, 0);
    expectVector(far.velocity, 0.9f, 0);
}

TEST(BallBallContact, OnlyApproachingBallsRespond)
{
    expectPairIgnored(Vector2(0, 0), Vector2(-1, 0), Vector2(30, 0), Vector2(0, 0));
    // Overlapping at rest.
    expectPairIgnored(Vector2(0, 0), Vector2(0, 0), Vector2(30, 0), Vector2(0, 0));
    // Moving together, or sliding past each other, keeps the distance.
    expectPairIgnored(Vector2(0, 0), Vector2(0, 1), Vector2(30, 0), Vector2(0, 1));
    expectPairIgnored(Vector2(0, 0), Vector2(0, 1), Vector2(30, 0), Vector2(0, -1));
    // Coincident centres: the approach product is 0, so nothing is divided.
    expectPairIgnored(Vector2(5, 5), Vector2(1, 0), Vector2(5, 5), Vector2(-1, 0));
}

TEST(BallBallContact, MassAndRestitutionShapeTheImpulse)
{
    ImpulseBall heavy(Vector2(0, 0), 20, Vector2(0.5f, 0));
    ImpulseBall light(Vector2(35, 0), 20, Vector2(-0.5f, 0));
    heavy.mass = 5;
    const Vector2 before = momentum(heavy, light);
    applyCollision(&heavy, &light);
    const float heavyChange = heavy.velocity.x - 0.5f;
    const float lightChange = light.velocity.x + 0.5f;
    EXPECT_LT(heavyChange, 0.0f);
    EXPECT_NEAR(lightChange, -5 * heavyChange, 1e-5f);
    // Relative speed 1 comes back as 0.8.
    EXPECT_NEAR(light.velocity.x - heavy.velocity.x, 0.8f, 1e-5f);
    expectVector(momentum(heavy, light), before.x, before.y);

    // Oblique hit: restitutions 0.8 and 0.4 give 0.6 along the line of
    // centres; the tangential components are kept.
    ImpulseBall a(Vector2(0, 0), 20, Vector2(1, 0.25f));
    ImpulseBall b(Vector2(20, 15), 10, Vector2(-0.5f, 0.5f));
    b.restitution = 0.4f;
    a.mass = 2;
    const Vector2 n = a.position - b.position;
    const Vector2 t(-n.y, n.x);
    const Vector2 relativeBefore = a.velocity - b.velocity;
    const Vector2 momentumBefore = momentum(a, b);
    ImpulseBall aSwapped = a;
    ImpulseBall bSwapped = b;
    applyCollision(&a, &b);
    // The contact point divides the line of centres in the ratio of the radii.
    ASSERT_EQ(a.impulses.size(), 1u);
    expectVector(a.impulses[0].point, 40.0f / 3.0f, 10, 1e-4f);
    const Vector2 relativeAfter = a.velocity - b.velocity;
    EXPECT_NEAR(relativeAfter.dot(n), -0.6f * relativeBefore.dot(n), 1e-4f);
    EXPECT_NEAR(a.velocity.dot(t), Vector2(1, 0.25f).dot(t), 1e-4f);
    EXPECT_NEAR(b.velocity.dot(t), Vector2(-0.5f, 0.5f).dot(t), 1e-4f);
    expectVector(momentum(a, b), momentumBefore.x, momentumBefore.y);

    // Which ball comes first does not change the outcome, to the bit.
    applyCollision(&bSwapped, &aSwapped);
    EXPECT_EQ(aSwapped.velocity.x, a.velocity.x);
    EXPECT_EQ(aSwapped.velocity.y, a.velocity.y);
    EXPECT_EQ(bSwapped.velocity.x, b.velocity.x);
    EXPECT_EQ(bSwapped.velocity.y, b.velocity.y);
}

TEST(BallPolygonContact, EdgeHitReflectsAndPushesOut)
{
    WatchedPolygon box = square();
    ImpulseBall ball(Vector2(150, 95), 10, Vector2(0, 2));
    applyCollision(&box, &ball);
    ASSERT_EQ(ball.impulses.size(), 1u);
    expectVector(ball.impulses[0].change, 0, -3.6f);
    expectVector(ball.velocity, 0, -1.6f);
    expectVector(ball.position, 150, 90);

    // Touching the edge is contact; the ball is already where it belongs.
    ImpulseBall touching(Vector2(150, 90), 10, Vector2(0, 2));
    applyCollision(&box, &touching);
    expectVector(touching.velocity, 0, -1.6f);
    expectVector(touching.position, 150, 90);

    // Only the ball's own restitution counts, and no mass.
    ImpulseBall heavy(Vector2(150, 205), 10, Vector2(1, -2));
    heavy.mass = 5;
    heavy.restitution = 0.5f;
    box.restitution = 0;
    applyCollision(&box, &heavy);
    expectVector(heavy.velocity, 1, 1);
    expectVector(heavy.position, 150, 210);

    EXPECT_EQ(box.pushes, 0);
    EXPECT_EQ(box.position.x, 0.0f);
    EXPECT_EQ(box.position.y, 0.0f);
    EXPECT_EQ(box.velocity.x, 0.0f);
    EXPECT_EQ(box.velocity.y, 0.0f);
}

TEST(BallPolygonContact, NoResponseWithoutApproachOrOverlap)
{
    // Parallel to the edge: d·v = 0.
    expectIgnoredBySquare(Vector2(150, 95), Vector2(2, 0));
    // Overlapping but at rest: not moved out either.
    expectIgnoredBySquare(Vector2(150, 95), Vector2(0, 0));
    expectIgnoredBySquare(Vector2(150, 95), Vector2(0, -2));
    // The boxes miss by 0.1.
    expectIgnoredBySquare(Vector2(150, 89.9f), Vector2(0, 2));
    // Inside the square's box but beyond the corner's reach.
    expectIgnoredBySquare(Vector2(92, 92), Vector2(1, 1));
}

TEST(BallPolygonContact, CornerActsAsOneContactPoint)
{
    WatchedPolygon box = square();
    ImpulseBall ball(Vector2(95, 95), 10, Vector2(1, 1));
    applyCollision(&box, &ball);
    ASSERT_EQ(ball.impulses.size(), 1u);
    expectVector(ball.velocity, -0.8f, -0.8f);
    // Put back at distance r from the corner along the diagonal.
    const float back = 100 - 10 / std::sqrt(2.0f);
    expectVector(ball.position, back, back, 1e-4f);
    EXPECT_NEAR((ball.position - Vector2(100, 100)).length(), 10, 1e-4f);
    EXPECT_EQ(box.pushes, 0);
}

TEST(BallPolygonContact, CentreInsideIsPushedFurtherIn)
{
    WatchedPolygon box = square();
    ImpulseBall ball(Vector2(150, 105), 10, Vector2(0, -2));
    applyCollision(&box, &ball);
    expectVector(ball.velocity, 0, 1.6f);
    expectVector(ball.position, 150, 110);
    EXPECT_EQ(box.pushes, 0);
}

TEST(BallPolygonContactDeathTest, NullBodiesAbort)
{
    WatchedPolygon box = square();
    Ball ball(Vector2(150, 95), 10, cCyan);
    EXPECT_DEATH(applyCollision(&box, nullptr), "");
    EXPECT_DEATH(applyCollision(static_cast<Polygon*>(nullptr), &ball), "");
}
