// The integration step of physics entities, alone and with the default effects.
#include <gtest/gtest.h>

#include "Ball.h"
#include "effectManager.h"
#include "float_checks.h"
#include "game.h"
#include "graphics.h"

namespace {

using game::kStep;

void expectSame(Vector2 const& a, Vector2 const& b)
{
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
}

}  // namespace

// Without effect::init no effect is active: the step is plain drift.
TEST(Integration, WithoutEffectsABodyDrifts)
{
    Ball ball(Vector2(100.0f, 100.0f), 10.0f, cCyan);
    ball.velocity = Vector2(0.5f, -0.25f);

    expectSame(ball.positionAt(kStep), Vector2(105.0f, 97.5f));
    expectSame(ball.velocityAt(kStep), Vector2(0.5f, -0.25f));

    ball.update(kStep);
    expectSame(ball.positionRaw(), Vector2(105.0f, 97.5f));
    expectSame(ball.velocityRaw(), Vector2(0.5f, -0.25f));

    // Outside the screen nothing pulls it back either.
    ball.position = Vector2(-50.0f, 900.0f);
    ball.update(kStep);
    expectSame(ball.positionRaw(), Vector2(-45.0f, 897.5f));
}

// Gravity is an acceleration: light and heavy bodies fall alike, and the
// velocity gains only half of (F/m)·dt per step.
TEST(Integration, GravityFromRestIsIndependentOfMass)
{
    effect::init();
    for (float mass : {1.0f, 5.0f}) {
        SCOPED_TRACE(mass);
        Ball ball(Vector2(400.0f, 300.0f), 20.0f, cWhite);
        ball.mass = mass;

        ball.update(kStep);
        expectVector(ball.positionRaw(), 400.0f, 300.05f, 1e-4f);
        expectVector(ball.velocityRaw(), 0.0f, 0.005f, 1e-6f);

        ball.update(kStep);
        expectVector(ball.positionRaw(), 400.0f, 300.15f, 1e-4f);
        expectVector(ball.velocityRaw(), 0.0f, 0.01f, 1e-6f);
    }
}

TEST(Integration, ImpulsesForcesAndNudges)
{
    // An impulse is a change of velocity: never divided by the mass.
    for (float mass : {1.0f, 5.0f}) {
        SCOPED_TRACE(mass);
        Ball ball(Vector2(100.0f, 100.0f), 10.0f, cCyan);
        ball.mass = mass;
        ball.velocity = Vector2(0.25f, 0.5f);
        ball.applyImpulse(Vector2(1.0f, 0.0f));
        expectSame(ball.velocityRaw(), Vector2(1.25f, 0.5f));
        ball.applyImpulse(Vector2(0.0f, -2.0f), Vector2(500.0f, 500.0f));
        expectSame(ball.velocityRaw(), Vector2(1.25f, -1.5f));
        expectSame(ball.positionRaw(), Vector2(100.0f, 100.0f));
    }

    // A force acts in the next step only; its accumulator is then cleared.
    Ball ball(Vector2(100.0f, 100.0f), 10.0f, cCyan);
    ball.mass = 2.0f;
    ball.applyForce(Vector2(1.0f, 0.0f));
    ball.applyForce(Vector2(1.0f, 0.0f), Vector2(0.0f, 0.0f));
    expectSame(ball.force, Vector2(2.0f, 0.0f));
    ball.update(kStep);
    // (F/m)/2·dt² = 50 and (F/m)/2·dt = 5.
    expectSame(ball.positionRaw(), Vector2(150.0f, 100.0f));
    expectSame(ball.velocityRaw(), Vector2(5.0f, 0.0f));
    expectSame(ball.force, Vector2(0.0f, 0.0f));
    ball.update(kStep);
    expectSame(ball.positionRaw(), Vector2(200.0f, 100.0f));
    expectSame(ball.velocityRaw(), Vector2(5.0f, 0.0f));

    // A nudge moves at once and leaves the velocity alone.
    ball.applyNudge(Vector2(-3.0f, 4.0f));
    expectSame(ball.positionRaw(), Vector2(197.0f, 104.0f));
    expectSame(ball.velocityRaw(), Vector2(5.0f, 0.0f));
}

// The look-ahead queries are pure, even where every effect contributes.
TEST(Integration, LookAheadNeverChangesTheBody)
{
    effect::init();
    Ball ball(Vector2(790.0f, 595.0f), 20.0f, cRed);
    ball.velocity = Vector2(0.3f, 0.4f);
    ball.applyForce(Vector2(0.01f, -0.02f));

    const Vector2 firstPosition = ball.positionAt(kStep);
    const Vector2 firstVelocity = ball.velocityAt(kStep);
    for (int i = 0; i < 5; ++i) {
        expectSame(ball.positionAt(kStep), firstPosition);
        expectSame(ball.velocityAt(kStep), firstVelocity);
    }
    expectSame(ball.positionRaw(), Vector2(790.0f, 595.0f));
    expectSame(ball.velocityRaw(), Vector2(0.3f, 0.4f));
    expectSame(ball.force, Vector2(0.01f, -0.02f));

    // update stores the same position; the velocity is then taken at the
    // new position.
    ball.update(kStep);
    expectSame(ball.positionRaw(), firstPosition);
}

// Dropped onto the floor, a ball bounces ever lower and settles where each
// step's wall reflection and gravity balance.
TEST(Integration, DroppedBallSettlesOnTheFloor)
{
    effect::init();
    Ball ball(Vector2(400.0f, 300.0f), 20.0f, cWhite);
    ball.mass = 5.0f;

    bool bounced = false;
    for (int i = 0; i < 3000; ++i) {
        ball.update(kStep);
        bounced = bounced || ball.velocityRaw().y < 0.0f;
    }
    EXPECT_TRUE(bounced);
    expectVector(ball.positionRaw(), 400.0f, 580.028f, 2e-3f);
    expectVector(ball.velocityRaw(), 0.0f, 0.0028f, 2e-4f);

    // Settled means fixed: further steps change nothing.
    const Vector2 position = ball.positionRaw();
    const Vector2 velocity = ball.velocityRaw();
    for (int i = 0; i < 10; ++i)
        ball.update(kStep);
    expectSame(ball.positionRaw(), position);
    expectSame(ball.velocityRaw(), velocity);
}
