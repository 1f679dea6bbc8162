// The game module: the starting world, the state stack driven by the real
// pause key, and the tear-down.
#include <gtest/gtest.h>

#include <SDL.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "CreatingPolygon.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Paused.h"
#include "Polygon.h"
#include "Screen.h"
#include "config.h"
#include "debug.h"
#include "effectManager.h"
#include "entityManager.h"
#include "entity_probes.h"
#include "game.h"
#include "inputManager.h"
#include "keys.h"

using probe::Calls;
using probe::ProbeBall;

// The registered but never pushed state, replaced in this program by one that
// counts its calls: defining its members here keeps the library's do-nothing
// version out of the link.
namespace {
int s_iCreatingPolygonCalls = 0;
}

void CreatingPolygon::handleInput(bool) const
{
    ++s_iCreatingPolygonCalls;
}

void CreatingPolygon::update(float, bool) const
{
    ++s_iCreatingPolygonCalls;
}

void CreatingPolygon::draw(bool) const
{
    ++s_iCreatingPolygonCalls;
}

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

// Live recorded objects whose dynamic type is that of `sample`.
template <typename T>
int liveLike(T const& sample)
{
    const void* vtable = nullptr;
    std::memcpy(&vtable, &sample, sizeof vtable);
    Guard guard;
    int count = 0;
    for (std::size_t i = 0; i < used; ++i) {
        if (blocks[i] == nullptr || sizes[i] < sizeof vtable)
            continue;
        const void* first = nullptr;
        std::memcpy(&first, blocks[i], sizeof first);
        count += first == vtable ? 1 : 0;
    }
    return count;
}

}  // namespace heap

void* operator new(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    if (heap::recording.load())
        heap::remember(block, size);
    return block;
}

void operator delete(void* block) noexcept
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

const float kStep = 10.0f;

void pushKey(SDLKey key, bool down)
{
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// One tick of the update thread.
void tick()
{
    input::update();
    cfg::handleInput();
    game::handleInput();
    game::update(kStep);
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
        input::init();
        manager::add(&probe);
    }

    void TearDown() override
    {
        if (!cleaned) {
            manager::remove(&probe);
            game::clean();
        }
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
    pushKey(key::pause, true);
    tick();
    EXPECT_TRUE(cfg::paused());
    EXPECT_EQ(calls.updates, 1);

    // Held: the flag toggles on the press only, and the top state is never
    // asked to be pushed again.
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(calls.updates, 1);
    pushKey(key::pause, false);
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
    pushKey(key::pause, true);
    tick();
    EXPECT_FALSE(cfg::paused());
    EXPECT_EQ(calls.updates, 2);
    EXPECT_GT(probe.positionRaw().y, before.y);
    pushKey(key::pause, false);
    tick();
    EXPECT_EQ(calls.updates, 3);
}

// While paused, input does not reach the effects: the well key is ignored.
TEST_F(Game, WellKeyIsIgnoredWhilePaused)
{
    pushKey(key::pause, true);
    tick();
    pushKey(key::pause, false);
    pushKey(key::well, true);
    tick();
    pushKey(key::pause, true);
    tick();
    EXPECT_FALSE(cfg::paused());

    const Ball ball(Vector2(300, 400), 10.0f, cWhite);
    const Vector2 force = effect::forceDelta(&ball, kStep);
    EXPECT_EQ(force.x, 0.0f);
    EXPECT_FLOAT_EQ(force.y, 0.001f);

    // Running again, the same key switches the well on.
    pushKey(key::well, false);
    tick();
    pushKey(key::well, true);
    tick();
    EXPECT_NE(effect::forceDelta(&ball, kStep).x, 0.0f);
}

TEST_F(Game, CreatingPolygonNeverGetsACall)
{
    // Two ticks paused, then two running, twice over.
    for (int round = 0; round < 4; ++round) {
        pushKey(key::pause, true);
        tick();
        game::draw();
        pushKey(key::pause, false);
        tick();
        game::draw();
    }
    EXPECT_EQ(calls.updates, 4);
    EXPECT_EQ(calls.draws, 8);
    EXPECT_EQ(s_iCreatingPolygonCalls, 0);
}

// Ending the program while paused: clean deletes every state, entity and
// effect whatever the stack holds.
TEST_F(Game, CleanWhilePausedDeletesEverything)
{
    const Ball ball(Vector2(0, 0), 1.0f, cWhite);
    const Polygon polygon({Vector2(0, 0)}, cRed);
    const Paused paused;
    const CreatingPolygon creating;
    const Screen screen;
    const Gravity gravity;
    const GravityWell well(Vector2(0, 0));

    pushKey(key::pause, true);
    tick();
    game::draw();
    ASSERT_TRUE(cfg::paused());

    // The starting scene: 8 heavy and 50 small balls and one triangle.
    EXPECT_EQ(heap::liveLike(ball), 58);
    EXPECT_EQ(heap::liveLike(polygon), 1);
    EXPECT_EQ(heap::liveLike(paused), 1);
    EXPECT_EQ(heap::liveLike(creating), 1);
    EXPECT_EQ(heap::liveLike(screen), 1);
    EXPECT_EQ(heap::liveLike(gravity), 1);
    EXPECT_EQ(heap::liveLike(well), 1);

    clean();
    EXPECT_EQ(heap::liveLike(ball), 0);
    EXPECT_EQ(heap::liveLike(polygon), 0);
    EXPECT_EQ(heap::liveLike(paused), 0);
    EXPECT_EQ(heap::liveLike(creating), 0);
    EXPECT_EQ(heap::liveLike(screen), 0);
    EXPECT_EQ(heap::liveLike(gravity), 0);
    EXPECT_EQ(heap::liveLike(well), 0);

    // The Running state went too: its destructor took the manager's locks.
    // The renderer runs threads of its own, so the child starts afresh.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(manager::draw(), "");
}
