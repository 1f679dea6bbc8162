#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Ball.h"
#include "Vector2.h"
#include "graphics.h"
#include "worlds.h"
#include "measure.h"

// The benchmark worlds must be the same on every run, or before/after figures
// and state hashes stop being comparable.
TEST(BenchLattice, FollowsTheCongruentialSequenceAndStaysOnScreen)
{
    const std::vector<Vector2> positions = bench::latticePositions(2000);
    ASSERT_EQ(positions.size(), 2000u);
    // Reference values worked out independently: s advances before x and
    // again before y, fractions in double, rounded to float at the end.
    EXPECT_FLOAT_EQ(positions[0].x, 521.02014f);
    EXPECT_FLOAT_EQ(positions[0].y, 186.79231f);
    EXPECT_FLOAT_EQ(positions[1].x, 536.4693f);
    EXPECT_FLOAT_EQ(positions[1].y, 71.92572f);
    EXPECT_FLOAT_EQ(positions[2].x, 412.92807f);
    EXPECT_FLOAT_EQ(positions[2].y, 294.00647f);
    for (Vector2 const& p : positions) {
        EXPECT_GE(p.x, 10.0f);
        EXPECT_LE(p.x, 790.0f);
        EXPECT_GE(p.y, 10.0f);
        EXPECT_LE(p.y, 590.0f);
    }
    // A shorter lattice is a prefix of a longer one.
    const std::vector<Vector2> few = bench::latticePositions(3);
    EXPECT_EQ(few[2].x, positions[2].x);
    EXPECT_EQ(few[2].y, positions[2].y);

    const std::vector<Ball*> balls = bench::addLattice(3);
    ASSERT_EQ(balls.size(), 3u);
    for (std::size_t i = 0; i < balls.size(); ++i) {
        EXPECT_EQ(balls[i]->position.x, positions[i].x);
        EXPECT_EQ(balls[i]->position.y, positions[i].y);
        EXPECT_EQ(balls[i]->radius, 10.0f);
        EXPECT_EQ(balls[i]->colour, cCyan);
        EXPECT_EQ(balls[i]->mass, 1.0f);
    }
}

TEST(BenchMeasure, MeansAndTheBudgetWindow)
{
    const std::vector<double> ms = {1.0, 2.0, 3.0, 6.0};
    EXPECT_DOUBLE_EQ(bench::meanMs(ms, 0, 4), 3.0);
    EXPECT_DOUBLE_EQ(bench::meanMs(ms, 1, 3), 2.5);

    // Too few samples for the window: never over budget.
    EXPECT_FALSE(bench::trailingMeanOver({50.0, 50.0}, 3, 10.0));
    EXPECT_FALSE(bench::trailingMeanOver({}, 0, 10.0));
    // Only the last `window` samples count, and the mean must exceed the
    // budget strictly.
    EXPECT_FALSE(bench::trailingMeanOver({100.0, 5.0, 15.0}, 2, 10.0));
    EXPECT_TRUE(bench::trailingMeanOver({100.0, 5.0, 15.5}, 2, 10.0));
    EXPECT_TRUE(bench::trailingMeanOver({0.0, 0.0, 5.0, 15.5}, 2, 10.0));
    EXPECT_FALSE(bench::trailingMeanOver({100.0, 100.0, 5.0, 15.0}, 2, 10.0));
}

TEST(BenchMeasure, StateHashSeesEveryBitOfPositionsAndVelocitiesInOrder)
{
    Ball a(Vector2(100.0f, 200.0f), 10.0f, cCyan);
    Ball b(Vector2(300.0f, 400.0f), 10.0f, cCyan);
    a.velocity = Vector2(0.5f, -0.25f);
    const auto hash = bench::stateHash({&a, &b});
    EXPECT_EQ(bench::stateHash({&a, &b}), hash);
    EXPECT_NE(bench::stateHash({&b, &a}), hash);
    EXPECT_NE(bench::stateHash({&a}), hash);

    // One unit in the last place of any of the four components shows.
    float* const components[] = {&b.position.x, &b.position.y, &b.velocity.x, &b.velocity.y};
    for (float* component : components) {
        const float saved = *component;
        *component = std::nextafter(saved, 1e9f);
        EXPECT_NE(bench::stateHash({&a, &b}), hash);
        *component = saved;
    }
    EXPECT_EQ(bench::stateHash({&a, &b}), hash);
}
