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
