// A tick of a world that neither grows nor shrinks allocates nothing: the
// live sets, the grid's cells and its copies of the bodies keep what they
// needed in the ticks before. Every allocation of this program is counted.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <set>
#include <vector>

#include "PhysicsEntity.h"
#include "Point.h"
#include "Polygon.h"
#include "entityManager.h"
#include "graphics.h"
#include "starting_scene.h"

namespace {

std::size_t s_allocations = 0;

}  // namespace

void* operator new(std::size_t size)
{
    ++s_allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

struct State {
    PhysicsEntity* body;
    Vector2 position;
    Vector2 velocity;
};

std::vector<State> capture(std::set<PhysicsEntity*> const& bodies)
{
    std::vector<State> states;
    for (PhysicsEntity* body : bodies)
        states.push_back({body, body->position, body->velocity});
    return states;
}

void restore(std::vector<State> const& states)
{
    for (State const& state : states) {
        state.body->position = state.position;
        state.body->velocity = state.velocity;
    }
}

}  // namespace

// The same tick, from the same state, again and again: after the first run
// every container already holds what the tick needs.
TEST(SteadyTick, RepeatedTickAllocatesNothing)
{
    buildStartingScene();
    for (int i = 0; i < 1500; ++i)
        creator::addBall(Vector2(static_cast<float>(20 + i * 37 % 760), static_cast<float>(20 + i * 53 % 560)),
                         10.0f, cCyan);
    Point spark(Vector2(10.0f, 10.0f), false);
    manager::add(&spark);
    for (int tick = 0; tick < 300; ++tick)
        manager::update(10.0f);
    const std::vector<State> settled = capture(placedBodies());
    ASSERT_GT(settled.size(), 1000u);

    restore(settled);
    manager::update(10.0f);
    for (int round = 0; round < 5; ++round) {
        restore(settled);
        const std::size_t before = s_allocations;
        manager::update(10.0f);
        EXPECT_EQ(s_allocations - before, 0u) << "round " << round;
    }
    // The count sees the library's allocations: a polygon's copy of its
    // corners costs one.
    const std::size_t before = s_allocations;
    const Polygon probe({Vector2(400.0f, 300.0f)}, cRed);
    EXPECT_GE(s_allocations - before, 1u);
}
