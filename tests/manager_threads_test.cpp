// The entity manager driven as the program drives it: one thread changes and
// steps the world while another draws it. Built again with ThreadSanitizer by
// scripts/test, where any unguarded access fails the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <thread>

#include "effectManager.h"
#include "entityManager.h"
#include "entity_probes.h"
#include "threadPriority.h"

using probe::Calls;
using probe::ProbeBall;
using probe::ProbePoint;

namespace {

const int kTicks = 2000;
// How many ticks each entity stays in the world before it is removed.
const int kLifeTicks = 40;

// Every entity is updated once per tick from the tick it was added in to the
// tick before the one it was removed in; the last ones stay to the end.
int expectedUpdates()
{
    int total = 0;
    for (int added = 0; added < kTicks; ++added)
        total += std::min(kLifeTicks, kTicks - added);
    return total;
}

template <typename T>
void removeOldest(std::deque<T*>& live)
{
    manager::remove(live.front());
    delete live.front();
    live.pop_front();
}

void waitForFrames(std::atomic<int> const& frames, int count)
{
    while (frames.load() < count)
        std::this_thread::yield();
}

}  // namespace

TEST(ManagerThreads, UpdaterAndDrawerShareTheWorld)
{
    effect::init();
    manager::init();
    Calls balls;
    Calls points;
    std::deque<ProbeBall*> liveBalls;
    std::deque<ProbePoint*> livePoints;
    std::atomic<int> frames{0};
    std::atomic<bool> done{false};

    // The locks are not fair: a drawer that never pauses, unlike the paced
    // draw thread, could starve the updater.
    std::thread drawer([&] {
        do {
            manager::draw();
            ++frames;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        } while (!done.load());
    });

    std::thread updater([&] {
        waitForFrames(frames, 1);
        for (int i = 0; i < kTicks; ++i) {
            const Vector2 where(50.0f + static_cast<float>((i * 37) % 700),
                                50.0f + static_cast<float>((i * 53) % 500));
            ProbeBall* ball = new ProbeBall(balls, where);
            ball->velocity = Vector2(0.1f * static_cast<float>(i % 7 - 3), -0.2f);
            liveBalls.push_back(ball);
            manager::add(ball);
            ProbePoint* point = new ProbePoint(points, where);
            point->velocity = Vector2(0.0f, 0.1f);
            livePoints.push_back(point);
            manager::add(point);
            if (static_cast<int>(liveBalls.size()) > kLifeTicks) {
                // Deleted at once, as the creator does.
                removeOldest(liveBalls);
                removeOldest(livePoints);
            }
            manager::update(10.0f);
        }
        // At least one whole frame of the last world.
        waitForFrames(frames, frames.load() + 2);
        done.store(true);
    });

    updater.join();
    drawer.join();

    while (!liveBalls.empty()) {
        removeOldest(liveBalls);
        removeOldest(livePoints);
    }
    manager::update(10.0f);
    manager::clean();
    effect::clean();

    EXPECT_EQ(balls.updates, expectedUpdates());
    EXPECT_EQ(points.updates, expectedUpdates());
    EXPECT_GT(balls.draws, 0);
    EXPECT_GT(points.draws, 0);
}

namespace {

const int kRounds = 10;

// A ball that holds each physics pass, and so the lock, until the test lets
// that pass go on; it notes how many frames had been drawn when each pass
// reached it.
class GateBall : public ProbeBall {
public:
    GateBall(Calls& counters, Vector2 const& centre) : ProbeBall(counters, centre), calls(counters) {}

    void update(float dt) override
    {
        const int pass = entered.load();
        if (pass < kRounds + 2)
            framesSeen[pass].store(calls.draws);
        entered.store(pass + 1);
        while (pass >= allowed.load())
            std::this_thread::yield();
        ProbeBall::update(dt);
    }

    std::atomic<int> entered{0};
    std::atomic<int> allowed{0};
    std::atomic<int> framesSeen[kRounds + 2] = {};

private:
    Calls& calls;
};

}  // namespace

// One tick holding the physics lock and the next follow each other within
// microseconds, as they do once the world is large. A frame waiting for the
// lock when a pass ends is copied before the next pass begins, however late
// its thread runs (beside busy threads of its own priority, as beside a
// software renderer's).
TEST(ManagerThreads, WaitingFrameGoesBeforeTheNextPass)
{
    effect::init();
    manager::init();
    Calls calls;
    GateBall ball(calls, Vector2(100.0f, 100.0f));
    manager::add(&ball);
    std::atomic<bool> done{false};
    std::atomic<int> asked{0};
    std::atomic<int> frames{0};
    std::thread updater([&] {
        while (!done.load())
            manager::update(10.0f);
    });
    std::thread drawer([&] {
        threadPriority::lowerCurrentThread(5);
        std::thread busy[2];
        for (std::thread& spinner : busy)
            spinner = std::thread([&] {
                while (!done.load()) {
                }
            });
        for (int frame = 0; frame < kRounds; ++frame) {
            while (asked.load() == frame)
                std::this_thread::yield();
            manager::draw();
            frames.store(frame + 1);
        }
        for (std::thread& spinner : busy)
            spinner.join();
    });

    for (int pass = 0; pass < kRounds; ++pass) {
        while (ball.entered.load() <= pass)
            std::this_thread::yield();
        asked.store(pass + 1);
        // The frame is on its way to the lock, which this pass holds.
        while (!manager::frameWaiting())
            std::this_thread::yield();
        EXPECT_EQ(frames.load(), pass) << "a frame was drawn while a pass held the lock";
        ball.allowed.store(pass + 1);
        while (ball.entered.load() <= pass + 1)
            std::this_thread::yield();
        EXPECT_EQ(ball.framesSeen[pass + 1].load(), pass + 1) << "pass " << pass + 1 << " began before the frame";
    }
    done.store(true);
    ball.allowed.store(kRounds + 2);
    updater.join();
    drawer.join();
    manager::remove(&ball);
    manager::update(10.0f);
    manager::clean();
    effect::clean();
}
