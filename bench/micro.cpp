// ballpit-micro: Google Benchmark timings of the pieces of the world step:
// the effect sums, the two contact responses, the broad phase and one whole
// manager::update.

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <vector>

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "Vector2.h"
#include "collisionManager.h"
#include "debug.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "graphics.h"
#include "worlds.h"

namespace {

// Enough steps for the lattice to fall and pile up: its balls then move and
// touch, so the contact tests reach the responses.
const int kSettleTicks = 500;

struct BodyState {
    Vector2 position;
    Vector2 velocity;
};

std::vector<BodyState> capture(std::vector<Ball*> const& balls)
{
    std::vector<BodyState> states;
    for (Ball const* ball : balls)
        states.push_back({ball->position, ball->velocity});
    return states;
}

// Puts a world back before each iteration, so every iteration times the same
// step; the copy is small beside the step it precedes.
void restore(std::vector<Ball*> const& balls, std::vector<BodyState> const& states)
{
    for (std::size_t i = 0; i < balls.size(); ++i) {
        balls[i]->position = states[i].position;
        balls[i]->velocity = states[i].velocity;
    }
}

// Deletes the creator's `count` balls, the only ones, and lets the manager
// drop them at once: a new ball placed at a freed address would otherwise be
// dropped together with the pending removal.
void clearWorld(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        creator::removeBall();
    manager::update(bench::kStep);
}

// The lattice of `count` balls after kSettleTicks world steps, made once per
// size and kept.
std::vector<BodyState> const& settledLattice(int count)
{
    static std::map<int, std::vector<BodyState>> cache;
    const auto found = cache.find(count);
    if (found != cache.end())
        return found->second;
    const std::vector<Ball*> balls = bench::addLattice(count);
    for (int t = 0; t < kSettleTicks; ++t)
        manager::update(bench::kStep);
    std::vector<BodyState> states = capture(balls);
    clearWorld(balls.size());
    return cache.emplace(count, std::move(states)).first->second;
}

bool same(Vector2 const& a, Vector2 const& b)
{
    return a.x == b.x && a.y == b.y;
}

using EffectSum = Vector2 (*)(PhysicsEntity const*, float);

// One ball at rest in the middle of the screen, gravity and walls active.
void BM_effectSum(benchmark::State& state, EffectSum sum)
{
    const Ball ball(Vector2(400.0f, 300.0f), bench::kLatticeRadius, cCyan);
    for (auto _ : state)
        benchmark::DoNotOptimize(sum(&ball, bench::kStep));
}
BENCHMARK_CAPTURE(BM_effectSum, positionDelta, &effect::positionDelta);
BENCHMARK_CAPTURE(BM_effectSum, velocityDelta, &effect::velocityDelta);
BENCHMARK_CAPTURE(BM_effectSum, forceDelta, &effect::forceDelta);

// Ball A moving right at (1, 0) towards ball B, resting at A's position plus
// `offset`; both of radius 10.
void BM_ballBall(benchmark::State& state, Vector2 offset, bool responds)
{
    const Vector2 start(100.0f, 100.0f);
    const Vector2 push(1.0f, 0.0f);
    Ball a(start, bench::kLatticeRadius, cCyan);
    Ball b(start + offset, bench::kLatticeRadius, cCyan);
    for (auto _ : state) {
        a.velocity = push;
        b.velocity = Vector2(0.0f, 0.0f);
        applyCollision(&a, &b);
        benchmark::ClobberMemory();
    }
    if (same(a.velocity, push) == responds)
        state.SkipWithError("the pair did not behave as this case assumes");
}
BENCHMARK_CAPTURE(BM_ballBall, touching_approaching, Vector2(15.0f, 0.0f), true);
BENCHMARK_CAPTURE(BM_ballBall, box_rejected, Vector2(200.0f, 0.0f), false);

// A ball of radius 10 moving at (1, 1) from `centre` against the starting
// triangle.
void BM_ballPolygon(benchmark::State& state, Vector2 centre, bool responds)
{
    Polygon triangle({Vector2(500.0f, 500.0f), Vector2(300.0f, 500.0f), Vector2(500.0f, 300.0f)}, cRed);
    const Vector2 push(1.0f, 1.0f);
    Ball ball(centre, bench::kLatticeRadius, cCyan);
    for (auto _ : state) {
        ball.position = centre;
        ball.velocity = push;
        applyCollision(&triangle, &ball);
        benchmark::ClobberMemory();
    }
    if (same(ball.velocity, push) == responds)
        state.SkipWithError("the ball did not behave as this case assumes");
}
// 7.07 px from the long side, outside it, moving into it.
BENCHMARK_CAPTURE(BM_ballPolygon, contact, Vector2(395.0f, 395.0f), true);
// Inside the triangle's box but far from every edge: all three edges scanned.
BENCHMARK_CAPTURE(BM_ballPolygon, in_box_no_contact, Vector2(320.0f, 320.0f), false);
BENCHMARK_CAPTURE(BM_ballPolygon, box_rejected, Vector2(100.0f, 100.0f), false);

// The broad phase and every contact test over a settled lattice, on a set of
// balls outside the manager.
void BM_collisionUpdate(benchmark::State& state)
{
    const std::vector<BodyState>& states = settledLattice(static_cast<int>(state.range(0)));
    std::vector<Ball*> balls;
    std::set<PhysicsEntity*> bodies;
    for (BodyState const& body : states) {
        balls.push_back(new Ball(body.position, bench::kLatticeRadius, cCyan));
        bodies.insert(balls.back());
    }
    for (auto _ : state) {
        restore(balls, states);
        collision::update(bodies);
    }
    for (Ball* ball : balls)
        delete ball;
}
BENCHMARK(BM_collisionUpdate)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond);

// One whole world step over a settled lattice held by the manager.
void BM_managerUpdate(benchmark::State& state)
{
    const std::vector<BodyState>& states = settledLattice(static_cast<int>(state.range(0)));
    std::vector<Ball*> balls;
    for (BodyState const& body : states)
        balls.push_back(creator::addBall(body.position, bench::kLatticeRadius, cCyan));
    // Merges the additions outside the timed loop.
    manager::update(bench::kStep);
    for (auto _ : state) {
        restore(balls, states);
        manager::update(bench::kStep);
    }
    clearWorld(balls.size());
}
BENCHMARK(BM_managerUpdate)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The modules print through DPF, whose lock must exist; the world step
    // needs the default effects and the manager's locks.
    debug::init();
    effect::init();
    manager::init();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
