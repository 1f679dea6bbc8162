// The grid pass against a plain one written from its rules: every pair that
// shares a cell handed to the public contact responses, cell by cell, in
// address order. Crowded worlds of balls and polygons must come out of both
// with the same bits, tick after tick.

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "body_slots.h"
#include "collisionManager.h"
#include "debug.h"
#include "entity_probes.h"
#include "float_checks.h"
#include "graphics.h"

namespace {

// The grid of the plain pass: every body in the cells its box covers.
void placeAll(std::vector<PhysicsEntity*> const& bodies, std::vector<PhysicsEntity*> (&cells)[20][16])
{
    for (PhysicsEntity* body : bodies) {
        Vector2 min;
        Vector2 max;
        if (Ball* ball = dynamic_cast<Ball*>(body)) {
            min = Vector2(ball->position.x - ball->radius, ball->position.y - ball->radius);
            max = Vector2(ball->position.x + ball->radius, ball->position.y + ball->radius);
        } else {
            Polygon* polygon = dynamic_cast<Polygon*>(body);
            min = polygon->bindingMin;
            max = polygon->bindingMax;
        }
        const int firstCol = static_cast<int>(min.x / 40.0f);
        const int lastCol = static_cast<int>(max.x / 40.0f);
        const int firstRow = static_cast<int>(min.y / 37.0f);
        const int lastRow = static_cast<int>(max.y / 37.0f);
        if (lastCol < firstCol || firstCol < 0 || firstCol >= 20 || lastRow < firstRow || firstRow < 0 ||
            firstRow >= 16)
            continue;
        for (int col = firstCol; col <= lastCol && col < 20; ++col)
            for (int row = firstRow; row <= lastRow && row < 16; ++row)
                cells[col][row].push_back(body);
    }
}

// Two polygons are passed over.
void plainPass(std::vector<PhysicsEntity*> const& bodies)
{
    std::vector<PhysicsEntity*> cells[20][16];
    placeAll(bodies, cells);
    for (auto const& column : cells)
        for (auto const& cell : column)
            for (std::size_t i = 1; i < cell.size(); ++i)
                for (std::size_t j = 0; j < i; ++j) {
                    Ball* ballA = dynamic_cast<Ball*>(cell[i]);
                    Ball* ballB = dynamic_cast<Ball*>(cell[j]);
                    if (ballA != nullptr && ballB != nullptr)
                        applyCollision(ballA, ballB);
                    else if (ballB != nullptr)
                        applyCollision(dynamic_cast<Polygon*>(cell[i]), ballB);
                    else if (ballA != nullptr)
                        applyCollision(dynamic_cast<Polygon*>(cell[j]), ballA);
                }
}

struct Recipe {
    int balls;
    // Centres are drawn from this box; the polygons are fixed.
    float minX;
    float maxX;
    float minY;
    float maxY;
    bool polygons;
    unsigned seed;
};

// Builds the same world twice from one recipe: random radii, masses,
// restitutions (some below zero, so that pairs keep approaching after a
// response) and velocities.
void build(Recipe const& recipe, BodySlots& world)
{
    std::mt19937 random(recipe.seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float restitutions[] = {0.8f, 0.4f, -1.0f, 1.2f};
    for (int i = 0; i < recipe.balls; ++i) {
        if (recipe.polygons && i % 40 == 0) {
            const float x = recipe.minX + (recipe.maxX - recipe.minX) * unit(random);
            const float y = recipe.minY + (recipe.maxY - recipe.minY) * unit(random);
            world.add<Polygon>(std::vector<Vector2>{Vector2(x, y), Vector2(x + 60.0f, y + 10.0f),
                                                    Vector2(x + 20.0f, y + 50.0f)},
                               cRed);
        }
        Ball* ball = world.add<Ball>(Vector2(recipe.minX + (recipe.maxX - recipe.minX) * unit(random),
                                             recipe.minY + (recipe.maxY - recipe.minY) * unit(random)),
                                     3.0f + 15.0f * unit(random), cCyan);
        ball->velocity = Vector2(unit(random) - 0.5f, unit(random) - 0.5f);
        ball->mass = i % 3 == 0 ? 5.0f : 1.0f;
        ball->restitution = restitutions[i % 4];
    }
}

// What the passes did, so that a case can show it tested something.
struct Activity {
    int responses = 0;  // bodies whose velocity a pass changed
};

// Ticks of grid pass and integration (no effects are active, so the step is
// plain drift) on one world, of the plain pass on the other.
Activity expectSamePasses(Recipe const& recipe, int ticks)
{
    Activity activity;
    BodySlots grid(recipe.balls + recipe.balls / 40 + 1);
    BodySlots plain(recipe.balls + recipe.balls / 40 + 1);
    build(recipe, grid);
    build(recipe, plain);
    for (int tick = 0; tick < ticks; ++tick) {
        std::vector<Vector2> before;
        for (PhysicsEntity const* body : plain.all())
            before.push_back(body->velocity);
        testing::internal::CaptureStdout();
        collision::update(grid.all());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "tick " << tick;
        plainPass(plain.all());
        for (std::size_t i = 0; i < before.size(); ++i)
            activity.responses += !sameBits(before[i], plain.all()[i]->velocity);
        for (std::size_t i = 0; i < grid.all().size(); ++i) {
            PhysicsEntity const* a = grid.all()[i];
            PhysicsEntity const* b = plain.all()[i];
            if (!sameBits(a->position, b->position) || !sameBits(a->velocity, b->velocity)) {
                ADD_FAILURE() << "tick " << tick << ", body " << i << " of seed " << recipe.seed << ": "
                              << a->position.toString() << " " << a->velocity.toString() << " instead of "
                              << b->position.toString() << " " << b->velocity.toString();
                return activity;
            }
        }
        for (PhysicsEntity* body : grid.all())
            body->update(10.0f);
        for (PhysicsEntity* body : plain.all())
            body->update(10.0f);
    }
    return activity;
}

class GridPass : public testing::Test {
protected:
    void SetUp() override { debug::init(); }
};

}  // namespace

// Hundreds of balls to a cell, as on the floor of a long pour: cells of
// balls only, where many responses fall in the middle of the balls tested
// together.
TEST_F(GridPass, CrowdedCellsOfBallsGiveThePlainResult)
{
    EXPECT_GT(expectSamePasses({1500, 0.0f, 800.0f, 560.0f, 600.0f, false, 1}, 20).responses, 10000);
    EXPECT_GT(expectSamePasses({300, 100.0f, 140.0f, 100.0f, 137.0f, false, 2}, 20).responses, 300);
}

// Polygons among the balls, some overlapping each other, and bodies reaching
// over every edge of the grid.
TEST_F(GridPass, BallsAmongPolygonsAndAtTheEdgesGiveThePlainResult)
{
    EXPECT_GT(expectSamePasses({800, 100.0f, 500.0f, 100.0f, 400.0f, true, 3}, 20).responses, 1000);
    EXPECT_GT(expectSamePasses({600, -60.0f, 860.0f, -50.0f, 650.0f, true, 4}, 20).responses, 500);
}

// A handful of balls: cells with fewer balls than are tested together.
TEST_F(GridPass, SparseCellsGiveThePlainResult)
{
    int responses = 0;
    for (unsigned seed = 10; seed < 40; ++seed)
        responses +=
            expectSamePasses({static_cast<int>(seed % 7), 80.0f, 130.0f, 80.0f, 120.0f, seed % 2 == 0, seed}, 5)
                .responses;
    EXPECT_GT(responses, 20);
}

// Balls of class Ball are pushed apart without the virtual impulse; the
// result must be that of the virtual one, bit for bit.
TEST(BallResponse, PlainBallsGetTheImpulsesOfTheVirtualCall)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int responses = 0;
    for (int pair = 0; pair < 2000; ++pair) {
        const Vector2 centre(100.0f + 10.0f * unit(random), 100.0f + 10.0f * unit(random));
        const Vector2 other(100.0f + 10.0f * unit(random), 100.0f + 10.0f * unit(random));
        const float radii[] = {2.0f + 8.0f * unit(random), 2.0f + 8.0f * unit(random)};
        const Vector2 velocities[] = {Vector2(unit(random) - 0.5f, unit(random) - 0.5f),
                                      Vector2(unit(random) - 0.5f, unit(random) - 0.5f)};
        const float masses[] = {pair % 3 == 0 ? 5.0f : 1.0f, 1.0f + unit(random)};
        const float restitutions[] = {unit(random), 2.0f * unit(random) - 1.0f};
        Ball plainA(centre, radii[0], cCyan);
        Ball plainB(other, radii[1], cCyan);
        // Of another class than Ball, with Ball's impulse: responses reach
        // them through the virtual call.
        probe::ImpulseBall derivedA(centre, radii[0]);
        probe::ImpulseBall derivedB(other, radii[1]);
        Ball* const balls[] = {&plainA, &plainB, &derivedA, &derivedB};
        for (int i = 0; i < 4; ++i) {
            balls[i]->velocity = velocities[i % 2];
            balls[i]->mass = masses[i % 2];
            balls[i]->restitution = restitutions[i % 2];
        }
        applyCollision(&plainA, &plainB);
        applyCollision(&derivedA, &derivedB);
        EXPECT_TRUE(sameBits(plainA.velocity, derivedA.velocity)) << "pair " << pair;
        EXPECT_TRUE(sameBits(plainB.velocity, derivedB.velocity)) << "pair " << pair;
        responses += static_cast<int>(derivedA.impulses.size());
    }
    EXPECT_GT(responses, 200);
}
