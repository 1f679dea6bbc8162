// The game module: the starting world, the state stack driven by the real
// pause key, and the tear-down.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

#include "CreatingPolygon.h"
#include "GameState.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Paused.h"
#include "Polygon.h"
#include "Screen.h"
#include "config.h"
#include "debug.h"
#include "effectManager.h"
#include "entityArena.h"
#include "entityManager.h"
#include "entity_probes.h"
#include "game.h"
#include "inputManager.h"
#include "key_events.h"
#include "keys.h"
#include "session.h"
#include "starting_scene.h"
#include "world.h"

using probe::Calls;
using probe::ProbeBall;

// Remembers the heap blocks allocated while recording is on and still live,
// so that a test can see which objects made by game::init survive clean.
namespace heap {

const std::size_t kSlots = 4096;
std::atomic<bool> recording{false};
std::atomic_flag busy = ATOMIC_FLAG_INIT;
void* blocks[kSlots];
std::size_t sizes[kSlots];
std::size_t used = 0;  // slots in use are below this mark

class Guard {
public:
    Guard()
    {
        while (busy.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Guard() { busy.clear(std::memory_order_release); }
};

void remember(void* block, std::size_t size)
{
    Guard guard;
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (blocks[i] == nullptr) {
            blocks[i] = block;
            sizes[i] = size;
            used = std::max(used, i + 1);
            return;
        }
    }
}

void forget(void* block)
{
    Guard guard;
    for (std::size_t i = 0; i < used; ++i) {
        if (blocks[i] == block) {
            blocks[i] = nullptr;
            return;
        }
    }
}

// Live recorded objects of the type of `sample`. States hold no data, so an
// object of one is nothing but what marks its dynamic type: a block of its
// size holding the very bytes of the sample is one of its kind. Whole objects
// are compared, read as bytes, whatever the compiler puts where.
template <typename T>
int liveLike(T const& sample)
{
    static_assert(std::is_polymorphic<T>::value && sizeof(T) == sizeof(GameState), "a state with data");
    unsigned char const* const bytes = reinterpret_cast<unsigned char const*>(&sample);
    Guard guard;
    int count = 0;
    for (std::size_t i = 0; i < used; ++i)
        if (blocks[i] != nullptr && sizes[i] == sizeof(T) && std::memcmp(blocks[i], bytes, sizeof(T)) == 0)
            ++count;
    return count;
}

}  // namespace heap

// Kept out of line: inlined into its callers, the compiler takes free() for
// a mismatch of the new that it can see.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    if (heap::recording.load())
        heap::remember(block, size);
    return block;
}

[[gnu::noinline]] void operator delete(void* block) noexcept
{
    if (block == nullptr)
        return;
    heap::forget(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    ::operator delete(block);
}

namespace {

using game::kStep;

// One tick of the update thread.
void tick()
{
    session::step(input::fromPlatform());
}

// The world as the update thread builds it (game::init reads no key file,
// so the default bindings apply), with a probe among the starting entities.
class Game : public testing::Test {
protected:
    Game() : probe(calls, Vector2(400, 100)) {}

    void SetUp() override
    {
        debug::init();
        graphics::init();
        heap::recording.store(true);
        game::init();
        heap::recording.store(false);
        world::build();
        input::init();
        manager::add(&probe);
    }

    void TearDown() override
    {
        if (!cleaned)
            clean();
        debug::clean();
    }

    void clean()
    {
        manager::remove(&probe);
        game::clean();
        cleaned = true;
    }

    Calls calls;
    ProbeBall probe;
    bool cleaned = false;
};

}  // namespace

TEST_F(Game, PauseAndResumeTakeEffectInTheTickOfThePress)
{
    tick();
    EXPECT_EQ(calls.updates, 1);
    const Vector2 before = probe.positionRaw();

    // The tick of the press is already paused.
    keyevents::press(key::pause);
    tick();
    EXPECT_TRUE(cfg::paused());
    EXPECT_EQ(calls.updates, 1);

    // Held: the flag toggles on the press only, and the top state is never
    // asked to be pushed again.
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(calls.updates, 1);
    keyevents::release(key::pause);
    tick();
    EXPECT_EQ(calls.updates, 1);

    // The world is drawn but does not move.
    const int draws = calls.draws;
    game::draw();
    game::draw();
    EXPECT_EQ(calls.draws, draws + 2);
    EXPECT_EQ(probe.positionRaw().x, before.x);
    EXPECT_EQ(probe.positionRaw().y, before.y);

    // One pop resumes, in the very tick of the press: one Paused was pushed.
    keyevents::press(key::pause);
    tick();
    EXPECT_FALSE(cfg::paused());
    EXPECT_EQ(calls.updates, 2);
    EXPECT_GT(probe.positionRaw().y, before.y);
    keyevents::release(key::pause);
    tick();
    EXPECT_EQ(calls.updates, 3);
}

// While paused, input does not reach the effects: the well key is ignored.
TEST_F(Game, WellKeyIsIgnoredWhilePaused)
{
    keyevents::press(key::pause);
    tick();
    keyevents::release(key::pause);
    keyevents::press(key::well);
    tick();
    keyevents::press(key::pause);
    tick();
    EXPECT_FALSE(cfg::paused());

    const Ball ball(Vector2(300, 400), 10.0f, cWhite);
    const Vector2 force = effect::forceDelta(&ball, kStep);
    EXPECT_EQ(force.x, 0.0f);
    EXPECT_FLOAT_EQ(force.y, 0.001f);

    // Running again, the same key switches the well on.
    keyevents::release(key::well);
    tick();
    keyevents::press(key::well);
    tick();
    EXPECT_NE(effect::forceDelta(&ball, kStep).x, 0.0f);
}

// Pausing and resuming push nothing but Paused: the drawing state, pushed
// by mistake, would stay on the stack (only the shape key pops it) and the
// world would never run again.
TEST_F(Game, PauseAndResumePushNoOtherState)
{
    // Two ticks paused, then two running, twice over.
    for (int round = 0; round < 4; ++round) {
        keyevents::press(key::pause);
        tick();
        game::draw();
        keyevents::release(key::pause);
        tick();
        game::draw();
    }
    EXPECT_EQ(calls.updates, 4);
    EXPECT_EQ(calls.draws, 8);
}

// Ending the program while paused: clean deletes every state and entity
// whatever the stack holds.
TEST_F(Game, CleanWhilePausedDeletesEverything)
{
    const Paused paused;
    const CreatingPolygon creating;
    // What game::init made that is still alive: bodies in the world's arena,
    // states on the heap.
    const auto live = [&] {
        return std::vector<int>{static_cast<int>(entityArena::used()), heap::liveLike(paused), heap::liveLike(creating)};
    };

    keyevents::press(key::pause);
    tick();
    game::draw();
    ASSERT_TRUE(cfg::paused());

    // The starting scene (8 heavy and 50 small balls, one triangle) and two
    // of the states.
    EXPECT_EQ(live(), std::vector<int>({59, 1, 1}));
    clean();
    EXPECT_EQ(live(), std::vector<int>(3, 0));
    EXPECT_EQ(effect::forceDelta(&probe, kStep).y, 0.0f) << "an effect is still active";

    // The Running state went too: its destructor took the manager's locks.
    // The renderer runs threads of its own, so the child starts afresh.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(manager::draw(), "");
}

namespace {

void tap(SDLKey key)
{
    keyevents::press(key);
    tick();
    keyevents::release(key);
    tick();
}

}  // namespace

// While paused, each press of the step key runs the tick the running state
// runs, to the bit; while running, it adds nothing.
TEST_F(Game, StepKeyRunsOneRunningTickPerPressWhilePaused)
{
    const int ticks = 6;
    tick();
    tick();
    const std::vector<PhysicsEntity*> bodies = collision::placed;
    ASSERT_EQ(bodies.size(), 60u);
    std::vector<Vector2> positions;
    std::vector<Vector2> velocities;
    for (PhysicsEntity const* body : bodies) {
        positions.push_back(body->position);
        velocities.push_back(body->velocity);
    }
    const std::uint64_t start = manager::worldHash();
    for (int i = 0; i < ticks; ++i)
        tick();
    const std::uint64_t running = manager::worldHash();

    for (std::size_t i = 0; i < bodies.size(); ++i) {
        bodies[i]->position = positions[i];
        bodies[i]->velocity = velocities[i];
    }
    tap(key::pause);
    ASSERT_TRUE(cfg::paused());
    EXPECT_EQ(manager::worldHash(), start);
    // Held, the key steps once.
    keyevents::press(key::step);
    for (int held = 0; held < 3; ++held)
        tick();
    keyevents::release(key::step);
    tick();
    for (int i = 1; i < ticks; ++i)
        tap(key::step);
    EXPECT_EQ(manager::worldHash(), running);

    tap(key::pause);
    const int updates = calls.updates;
    keyevents::press(key::step);
    tick();
    EXPECT_EQ(calls.updates, updates + 1);
}

// Reset deletes every ball and polygon, the mouse's too, and builds the
// starting scene again; the pause stays.
TEST_F(Game, ResetRebuildsTheStartingScene)
{
    tap(key::pause);
    for (int i = 0; i < 5; ++i)
        creator::addBall(Vector2(400, 300), 10.0f, cCyan);
    EXPECT_EQ(creator::ballCount(), 63);
    tap(key::reset);
    EXPECT_TRUE(cfg::paused());
    EXPECT_EQ(creator::ballCount(), 58);
    EXPECT_EQ(entityArena::used(), 59u);
    // The new world is the one the manager steps: the starting scene and the
    // probe.
    tap(key::step);
    EXPECT_EQ(collision::placed.size(), 60u);
}
