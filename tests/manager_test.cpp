// The entity manager's pending sets, merges and family dispatch.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "debug.h"
#include "entity_probes.h"
#include "entityManager.h"

using probe::Calls;
using probe::ProbeBall;
using probe::ProbePoint;

namespace {

void tick()
{
    manager::update(10.0f);
    manager::draw();
}

// Neither family: the manager must refuse it without touching it.
class Stray : public Entity {
public:
    explicit Stray(Calls& counters) : Entity(Vector2(0, 0)), calls(counters) {}
    void update(float) override { ++calls.updates; }
    void draw() const override { ++calls.draws; }

private:
    Calls& calls;
};

// The same sequences for either family, whose sets and locks are separate.
template <typename Probe>
void expectPendingChangesCancel()
{
    Calls addedThenRemoved;
    Probe first(addedThenRemoved, Vector2(100, 100));
    manager::add(&first);
    manager::remove(&first);
    tick();
    EXPECT_EQ(addedThenRemoved.updates, 0);
    EXPECT_EQ(addedThenRemoved.draws, 0);

    // The last call before a merge wins: removed and added again, it stays.
    Calls removedThenReadded;
    Probe second(removedThenReadded, Vector2(300, 100));
    manager::add(&second);
    tick();
    EXPECT_EQ(removedThenReadded.updates, 1);
    EXPECT_EQ(removedThenReadded.draws, 1);
    manager::remove(&second);
    manager::add(&second);
    tick();
    EXPECT_EQ(removedThenReadded.updates, 2);
    EXPECT_EQ(removedThenReadded.draws, 2);
    manager::remove(&second);
    tick();
    EXPECT_EQ(removedThenReadded.updates, 2);

    Calls addedTwice;
    Probe third(addedTwice, Vector2(500, 100));
    manager::add(&third);
    manager::add(&third);
    manager::remove(&third);
    tick();
    EXPECT_EQ(addedTwice.updates, 0);
    EXPECT_EQ(addedTwice.draws, 0);

    // Once added again after the merge it is live, and only once.
    manager::add(&third);
    tick();
    EXPECT_EQ(addedTwice.updates, 1);
    EXPECT_EQ(addedTwice.draws, 1);
    manager::remove(&third);
    tick();
}

}  // namespace

// The starting world is added before the locks exist; the first traversal,
// a draw here, makes it live.
TEST(Manager, AdditionsBeforeInitBecomeLiveAtTheFirstMerge)
{
    Calls ball;
    Calls point;
    ProbeBall probeBall(ball, Vector2(100, 100));
    ProbePoint probePoint(point, Vector2(200, 200));
    manager::add(&probeBall);
    manager::add(&probePoint);
    manager::init();

    manager::draw();
    EXPECT_EQ(ball.draws, 1);
    EXPECT_EQ(point.draws, 1);
    EXPECT_EQ(ball.updates, 0);
    EXPECT_EQ(point.updates, 0);

    manager::update(10.0f);
    manager::update(10.0f);
    EXPECT_EQ(ball.updates, 2);
    EXPECT_EQ(point.updates, 2);
    EXPECT_EQ(ball.draws, 1);

    // An addition after init is drawn before any update has run for it.
    Calls late;
    ProbeBall lateBall(late, Vector2(300, 300));
    manager::add(&lateBall);
    manager::draw();
    EXPECT_EQ(late.draws, 1);
    EXPECT_EQ(late.updates, 0);
    EXPECT_EQ(late.drawnX, 300.0f);
    manager::clean();
}

TEST(Manager, PendingChangesCancelBeforeAMerge)
{
    manager::init();
    {
        SCOPED_TRACE("physics");
        expectPendingChangesCancel<ProbeBall>();
    }
    {
        SCOPED_TRACE("particles");
        expectPendingChangesCancel<ProbePoint>();
    }
    manager::clean();
}

// The creator deletes an entity right after removing it: no later update or
// draw may reach it, while the rest of the world goes on.
TEST(Manager, RemovedAndDeletedEntityIsNeverTouchedAgain)
{
    manager::init();
    Calls kept;
    Calls gone;
    Calls goneParticle;
    ProbeBall keptBall(kept, Vector2(100, 100));
    ProbeBall* goneBall = new ProbeBall(gone, Vector2(400, 100));
    ProbePoint* gonePoint = new ProbePoint(goneParticle, Vector2(400, 300));
    manager::add(&keptBall);
    manager::add(goneBall);
    manager::add(gonePoint);
    tick();
    EXPECT_EQ(gone.updates, 1);
    EXPECT_EQ(goneParticle.draws, 1);

    manager::remove(goneBall);
    delete goneBall;
    manager::remove(gonePoint);
    delete gonePoint;
    manager::draw();
    manager::update(10.0f);
    manager::draw();

    EXPECT_EQ(gone.updates, 1);
    EXPECT_EQ(gone.draws, 1);
    EXPECT_EQ(goneParticle.updates, 1);
    EXPECT_EQ(goneParticle.draws, 1);
    EXPECT_EQ(kept.updates, 2);
    EXPECT_EQ(kept.draws, 3);
    manager::clean();
}

// Deleted right after its removal, an entity's address can go to the next
// one before any merge; that new entity must become live, not be dropped by
// the old removal.
TEST(Manager, NewEntityAtADeletedOnesAddressIsKept)
{
    manager::init();
    alignas(ProbeBall) unsigned char slot[sizeof(ProbeBall)];
    Calls old;
    Calls reborn;
    ProbeBall* first = new (slot) ProbeBall(old, Vector2(100, 100));
    manager::add(first);
    tick();
    manager::remove(first);
    first->~ProbeBall();
    ProbeBall* second = new (slot) ProbeBall(reborn, Vector2(200, 100));
    ASSERT_EQ(static_cast<void*>(first), static_cast<void*>(second));
    manager::add(second);
    tick();
    EXPECT_EQ(old.updates, 1);
    EXPECT_EQ(reborn.updates, 1);
    EXPECT_EQ(reborn.draws, 1);
    manager::remove(second);
    tick();
    second->~ProbeBall();
    manager::clean();
}

TEST(Manager, UnsupportedEntityIsReportedAndSkipped)
{
    debug::init();
    Calls strayCalls;
    Stray stray(strayCalls);

    testing::internal::CaptureStdout();
    manager::add(&stray);
    manager::init();
    manager::add(&stray);
    manager::remove(&stray);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "ENTITY TYPE NOT SUPPORTED BY addEntity()!!\n"
              "ENTITY TYPE NOT SUPPORTED BY addEntity()!!\n"
              "ENTITY TYPE NOT SUPPORTED BY deleteEntity()!!\n");

    tick();
    EXPECT_EQ(strayCalls.updates, 0);
    EXPECT_EQ(strayCalls.draws, 0);
    manager::clean();
    debug::clean();
}
