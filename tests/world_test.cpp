// Whole ticks of the world: manager, effects, grid, contacts and integration
// together.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "Ball.h"
#include "entityManager.h"
#include "graphics.h"
#include "starting_scene.h"

namespace {

const float kDt = 10.0f;
const float kWidth = 800.0f;
const float kHeight = 600.0f;
// What gravity adds in one step: to the position, and to the stored velocity.
const float kGravityStep = 0.05f;
const float kGravityVelocityStep = 0.005f;

// The integrator adds only half of g·dt to the velocity per step while the
// position falls the full ½·g·dt², so what it conserves in free flight (and
// loses at every bounce) is kinetic energy plus potential energy at half
// gravity.
double energy(std::vector<Ball*> const& balls)
{
    double total = 0;
    for (Ball const* ball : balls) {
        const double speed2 = ball->velocity.dot(ball->velocity);
        const double height = kHeight - ball->radius - ball->position.y;
        total += 0.5 * ball->mass * speed2 + ball->mass * 0.0005 * height;
    }
    return total;
}

// How far a ball's centre may be beyond a wall along one axis. A body beyond
// a wall is put back on the wall line before it moves, so whatever lies
// beyond was covered in this single step with the velocity v' the step used
// (plus gravity's share downwards). If that step crossed the wall, the stored
// velocity is already reflected to -e·v', so |v'| <= (|v| + g-share) / e.
float overshootAllowance(float storedSpeed, float restitution, float gravityShare)
{
    return (storedSpeed + kGravityVelocityStep) / restitution * kDt + gravityShare + 1e-3f;
}

testing::AssertionResult sane(Ball const& ball, int tick)
{
    Vector2 const& p = ball.position;
    Vector2 const& v = ball.velocity;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(v.x) || !std::isfinite(v.y))
        return testing::AssertionFailure() << "tick " << tick << ": " << p.toString() << " " << v.toString();
    const float r = ball.radius;
    const float beyondX = std::max(r - p.x, p.x - (kWidth - r));
    const float beyondY = std::max(r - p.y, p.y - (kHeight - r));
    if (beyondX > overshootAllowance(std::fabs(v.x), ball.restitution, 0) ||
        beyondY > overshootAllowance(std::fabs(v.y), ball.restitution, kGravityStep))
        return testing::AssertionFailure() << "tick " << tick << ": radius " << r << " beyond a wall at "
                                           << p.toString() << " with " << v.toString();
    return testing::AssertionSuccess();
}

Vector2 momentum(Ball const& a, Ball const& b)
{
    return a.mass * a.velocity + b.mass * b.velocity;
}

}  // namespace

TEST(World, StartingSceneStaysInsideTheScreenAndSettles)
{
    buildStartingScene();
    manager::update(kDt);
    const std::set<PhysicsEntity*> bodies = placedBodies();
    std::vector<Ball*> balls;
    for (PhysicsEntity* body : bodies)
        if (Ball* ball = dynamic_cast<Ball*>(body))
            balls.push_back(ball);
    // Eight heavy balls, fifty small ones and the triangle.
    ASSERT_EQ(bodies.size(), 59u);
    ASSERT_EQ(balls.size(), 58u);

    const double start = energy(balls);
    for (int tick = 1; tick < 3000; ++tick) {
        manager::update(kDt);
        // Nobody leaves the grid, so nobody stops colliding.
        ASSERT_EQ(placedBodies(), bodies) << "tick " << tick;
        for (Ball const* ball : balls)
            ASSERT_TRUE(sane(*ball, tick));
        // Bounces and contacts never add energy.
        ASSERT_LE(energy(balls), start * 1.01) << "tick " << tick;
    }
    EXPECT_LT(energy(balls), start * 0.01);
}

TEST(World, IsolatedPairKeepsItsMomentumThroughTheCollision)
{
    // No effects: free space, no gravity, no walls.
    manager::init();
    Ball heavy(Vector2(200, 300), 20, cWhite);
    heavy.mass = 5;
    heavy.velocity = Vector2(0.3f, 0.02f);
    Ball light(Vector2(400, 310), 10, cCyan);
    light.velocity = Vector2(-0.4f, 0);
    manager::add(&heavy);
    manager::add(&light);

    const Vector2 before = momentum(heavy, light);
    int responses = 0;
    for (int tick = 0; tick < 60; ++tick) {
        const Vector2 lightBefore = light.velocity;
        manager::update(kDt);
        if (light.velocity.x != lightBefore.x || light.velocity.y != lightBefore.y)
            ++responses;
        const Vector2 now = momentum(heavy, light);
        ASSERT_NEAR(now.x, before.x, 1e-5f) << "tick " << tick;
        ASSERT_NEAR(now.y, before.y, 1e-5f) << "tick " << tick;
    }
    EXPECT_EQ(responses, 1);
    // The light ball bounced back; the heavy one only slowed down.
    EXPECT_GT(light.velocity.x, 0.0f);
    EXPECT_GT(heavy.velocity.x, 0.0f);
    EXPECT_LT(heavy.velocity.x, 0.3f);
    EXPECT_GT(light.position.x - heavy.position.x, 30.0f);
}
