// Whole-world trajectories against recorded ones, to the last bit: the world
// step may become faster, never different. The files under tests/golden/ hold
// every body's position and velocity in hex floats.
//
// BALLPIT_GOLDEN_RECORD=1 rewrites the files from the current code instead of
// comparing; they are recorded once and then stay as they are.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "effectManager.h"
#include "entityArena.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "game.h"
#include "graphics.h"
#include "starting_scene.h"

// The bodies' address order decides the order of updates and contact tests,
// and a process that has freed blocks before (the test framework, the
// environment, a sanitizer's allocator) hands them out again in its own
// order. So the world is built in an arena: while it is on, every allocation
// is cut in turn from one static block and never reused, and the bodies lie
// in the order they were made.
namespace {

alignas(std::max_align_t) unsigned char s_arena[1 << 20];
std::size_t s_arenaUsed = 0;
bool s_bArenaOn = false;

bool inArena(void const* p)
{
    return p >= static_cast<void const*>(s_arena) && p < static_cast<void const*>(s_arena + sizeof s_arena);
}

// Turns the arena on for the lifetime of the scope.
class ArenaScope {
public:
    ArenaScope() { s_bArenaOn = true; }
    ~ArenaScope() { s_bArenaOn = false; }
};

}  // namespace

// Kept out of line: inlined into its callers, the compiler takes free() for
// a mismatch of the new that it can see.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (s_bArenaOn) {
        const std::size_t rounded = (size + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
                                    alignof(std::max_align_t);
        if (rounded > sizeof s_arena - s_arenaUsed)
            std::abort();
        void* block = s_arena + s_arenaUsed;
        s_arenaUsed += rounded;
        return block;
    }
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* block) noexcept
{
    if (!inArena(block))
        std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

namespace {

const char kRecordSwitch[] = "BALLPIT_GOLDEN_RECORD";
using game::kStep;
const int kPoured = 2000;

// Where the entity creator puts the scene's balls, in creation order (the
// eight heavy balls, then the diagonal); the triangle is made last.
std::vector<Vector2> startingCentres()
{
    std::vector<Vector2> centres = {Vector2(50, 50),   Vector2(150, 50),  Vector2(50, 100),  Vector2(100, 100),
                                    Vector2(150, 100), Vector2(50, 150),  Vector2(100, 150), Vector2(150, 150)};
    for (int i = 200; i != 300; i += 2)
        centres.emplace_back(static_cast<float>(i), static_cast<float>(i));
    return centres;
}

// The scene's bodies in creation order. Only the grid knows them, so this
// runs after the first tick: from rest no body moves by more than a fraction
// of a pixel in one step, and the starting centres are more than two pixels
// apart, so each ball is the one nearest to its starting centre.
std::vector<PhysicsEntity const*> startingBodies(std::set<PhysicsEntity const*> const& others)
{
    const std::vector<Vector2> centres = startingCentres();
    std::vector<PhysicsEntity const*> ordered(centres.size() + 1, nullptr);
    for (PhysicsEntity const* body : placedBodies()) {
        if (others.count(body) != 0)
            continue;
        if (dynamic_cast<Polygon const*>(body) != nullptr) {
            EXPECT_EQ(ordered.back(), nullptr) << "two polygons in the scene";
            ordered.back() = body;
            continue;
        }
        std::size_t nearest = 0;
        for (std::size_t i = 1; i < centres.size(); ++i)
            if ((centres[i] - body->position).sqrLength() < (centres[nearest] - body->position).sqrLength())
                nearest = i;
        EXPECT_LT((centres[nearest] - body->position).length(), 0.5f) << body->position.toString();
        EXPECT_EQ(ordered[nearest], nullptr) << "two balls near " << centres[nearest].toString();
        ordered[nearest] = body;
    }
    for (PhysicsEntity const* body : ordered)
        EXPECT_NE(body, nullptr) << "a body of the scene is missing from the grid";
    return ordered;
}

void describe(std::ostringstream& out, PhysicsEntity const* body)
{
    if (body == nullptr) {
        out << "missing\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%s %a %a %a %a\n", dynamic_cast<Ball const*>(body) ? "ball" : "polygon",
                  static_cast<double>(body->position.x), static_cast<double>(body->position.y),
                  static_cast<double>(body->velocity.x), static_cast<double>(body->velocity.y));
    out << line;
}

std::vector<std::string> lines(std::string const& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Compares line by line; reports how many bodies differ and the first one.
void expectGolden(std::string const& name, std::string const& actual)
{
    const std::string path = "tests/golden/" + name;
    if (std::getenv(kRecordSwitch) != nullptr) {
        std::ofstream(path, std::ios::trunc) << actual;
        std::printf("recorded %s\n", path.c_str());
    }
    std::ifstream file(path);
    ASSERT_TRUE(file) << "cannot read " << path;
    std::ostringstream recorded;
    recorded << file.rdbuf();
    const std::vector<std::string> expected = lines(recorded.str());
    const std::vector<std::string> got = lines(actual);
    ASSERT_EQ(got.size(), expected.size()) << "bodies in " << path;
    int differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < got.size(); ++i)
        if (got[i] != expected[i] && differing++ == 0)
            first = i;
    EXPECT_EQ(differing, 0) << "first at line " << first + 1 << " of " << path << ":\n  recorded " << expected[first]
                            << "\n  now      " << got[first];
}

void tearDownWorld()
{
    creator::clean();
    effect::clean();
    manager::clean();
}

}  // namespace

TEST(GoldenTrajectory, StartingSceneAfterThousandTicks)
{
    {
        const ArenaScope arena;
        buildStartingScene();
    }
    manager::update(kStep);
    const std::vector<PhysicsEntity const*> scene = startingBodies({});
    for (int tick = 1; tick < 1000; ++tick)
        manager::update(kStep);

    std::ostringstream out;
    for (PhysicsEntity const* body : scene)
        describe(out, body);
    expectGolden("starting_scene_1000.txt", out.str());
    tearDownWorld();
}

// One ball a tick at the point the benchmark's pour uses. The balls are made
// up front in one block after the scene, so they follow it in address order,
// in pouring order.
TEST(GoldenTrajectory, PourOfTwoThousandBalls)
{
    // The poured balls lie in the world's arena after the scene, in the order
    // they are made, as the creator would place them.
    std::vector<Ball*> poured;
    {
        const ArenaScope arena;
        buildStartingScene();
    }
    for (std::size_t t = 0; t < kPoured; ++t)
        poured.push_back(entityArena::make<Ball>(
            Vector2(static_cast<float>(100 + (7 * t) % 600), static_cast<float>(100 + (3 * t) % 200)), 10.0f, cCyan));
    std::set<PhysicsEntity const*> pouredBodies(poured.begin(), poured.end());

    std::vector<PhysicsEntity const*> scene;
    for (int tick = 0; tick < kPoured; ++tick) {
        manager::add(poured[static_cast<std::size_t>(tick)]);
        manager::update(kStep);
        if (tick == 0)
            scene = startingBodies(pouredBodies);
    }

    std::ostringstream out;
    for (PhysicsEntity const* body : scene)
        describe(out, body);
    for (Ball const* ball : poured)
        describe(out, ball);
    expectGolden("pour_2000.txt", out.str());

    for (Ball* ball : poured) {
        manager::remove(ball);
        entityArena::destroy(ball);
    }
    tearDownWorld();
}
