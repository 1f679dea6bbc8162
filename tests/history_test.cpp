// Rewinding: every tick shown going back is bit for bit the world that tick
// showed going forwards, across snapshots, a reset, an obstacle, a grab,
// the well and a pause; a world going on from a tick rewound to is the world
// a fresh run reaches with the same input from there; the history keeps
// within its memory cap and its reach, and says why when it cannot go back.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "debug.h"
#include "entityArena.h"
#include "entityManager.h"
#include "history.h"
#include "inputManager.h"
#include "keys.h"
#include "session.h"

namespace {

// Tick t of a scripted session: pouring at a moving point, resets, an
// obstacle drawn, a ball poured and grabbed and thrown, the well switched on
// and following, a pause with a ball added and a step.
input::Frame scripted(int t)
{
    input::Frame in;
    in.pointer = {100 + (t * 37) % 600, 100 + (t * 11) % 300, t % 40 < 15, false, false};
    const auto press = [&in](SDLKey key) { input::setStatus(in, key, input::JustPressed); };
    const int corners[][2] = {{500, 150}, {640, 150}, {640, 260}, {520, 240}};
    // Two resets: after the first the starting balls' queue is no longer in
    // slot order, and the second deletes them in the queue's order.
    if (t == 60 || t == 90)
        press(key::reset);
    if (t == 100 || t == 120)
        press(key::shape);
    if (t > 100 && t < 120) {
        const int(&corner)[2] = corners[(t - 101) / 4 % 4];
        in.pointer = {corner[0], corner[1], (t - 101) % 4 == 0 && t < 117, false, false};
    }
    if (t >= 150 && t < 190) {
        // Poured at 150, held from 151, pulled right, let go at 190.
        in.pointer = {300 + (t - 150) * 8, 100, t == 150, false, t > 150};
    }
    if (t == 200)
        press(key::well);
    if (t > 200 && t < 240)
        input::setStatus(in, key::follow, input::Held);
    if (t == 250)
        input::setStatus(in, key::well, input::JustReleased);
    if (t == 260 || t == 275)
        press(key::pause);
    if (t == 268)
        press(key::step);
    return in;
}

input::Frame rewindHeld(bool first = false)
{
    input::Frame in;
    input::setStatus(in, key::rewind, first ? input::JustPressed : input::Held);
    return in;
}

class Rewind : public ::testing::Test {
protected:
    void SetUp() override { begin(); }
    void TearDown() override { end(); }

    void begin()
    {
        debug::init();
        session::start(false);
    }
    void end()
    {
        session::stop();
        debug::clean();
    }
    // Another run in this process, its arena as a new process finds it.
    void again(int historyMiB = session::kDefaultHistoryMiB)
    {
        end();
        entityArena::layOut({}, {});
        session::useHistory(historyMiB);
        begin();
    }

    // Ticks forwards from `from` to `to` with `script`; the hash after each.
    static std::vector<std::uint64_t> forward(int from, int to, input::Frame (*script)(int) = scripted)
    {
        std::vector<std::uint64_t> hashes;
        for (int t = from; t < to; ++t) {
            session::step(script(t));
            hashes.push_back(manager::worldHash());
        }
        return hashes;
    }
};

// Other input, with the second reset: it deletes the starting balls in the
// order of their queue, and the balls poured after it take their slots.
input::Frame otherScript(int t)
{
    input::Frame in = scripted(t + 1000);
    if (t == 90)
        input::setStatus(in, key::reset, input::JustPressed);
    return in;
}

}  // namespace

TEST_F(Rewind, EveryTickGoingBackIsTheTickGoingForwards)
{
    const int kTicks = 320;
    std::vector<std::uint64_t> hashes = {manager::worldHash()};
    for (std::uint64_t hash : forward(0, kTicks))
        hashes.push_back(hash);
    // The script's reset, obstacle and grab happened.
    ASSERT_NE(hashes[59], hashes[61]);
    for (int tick = kTicks - 1; tick >= 0; --tick) {
        session::step(rewindHeld(tick == kTicks - 1));
        ASSERT_EQ(history::ticksBack(), kTicks - tick);
        ASSERT_EQ(manager::worldHash(), hashes[static_cast<std::size_t>(tick)]) << "tick " << tick;
    }
    // Held on at the oldest tick: the world stays, and a line says why once.
    testing::internal::CaptureStdout();
    session::step(rewindHeld());
    session::step(rewindHeld());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "rewind: the oldest tick kept, 3.20 s back\n");
    EXPECT_EQ(manager::worldHash(), hashes[0]);
}

TEST_F(Rewind, AWorldGoingOnFromATickRewoundToIsAFreshRunFromThere)
{
    // Rewound to between the two resets, and on with other input.
    const int kBranch = 76;
    const int kTicks = 300;
    const int kAfter = 140;
    std::vector<std::uint64_t> fresh = forward(0, kBranch);
    for (std::uint64_t hash : forward(kBranch, kBranch + kAfter, otherScript))
        fresh.push_back(hash);

    again();
    forward(0, kTicks);
    session::step(rewindHeld(true));
    for (int t = kTicks - 1; t > kBranch; --t)
        session::step(rewindHeld());
    ASSERT_EQ(history::ticksBack(), kTicks - kBranch);
    ASSERT_EQ(manager::worldHash(), fresh[kBranch - 1]);
    const std::vector<std::uint64_t> branch = forward(kBranch, kBranch + kAfter, otherScript);
    EXPECT_EQ(history::ticksBack(), 0);
    for (int i = 0; i < kAfter; ++i)
        ASSERT_EQ(branch[static_cast<std::size_t>(i)], fresh[static_cast<std::size_t>(kBranch + i)]) << "tick " << i;

    // Back again across the point it went on from: the new branch's ticks,
    // then the old ones before it.
    for (int t = kBranch + kAfter - 1; t >= kBranch - 40; --t) {
        session::step(rewindHeld(t == kBranch + kAfter - 1));
        ASSERT_EQ(manager::worldHash(), fresh[static_cast<std::size_t>(t - 1)]) << "tick " << t;
    }
}

TEST_F(Rewind, PausedItHoldsStillAndTheStepKeyStepsBack)
{
    const std::vector<std::uint64_t> hashes = forward(0, 100);
    input::Frame pause = rewindHeld(true);
    input::setStatus(pause, key::pause, input::JustPressed);
    session::step(pause);
    for (int i = 0; i < 10; ++i)
        session::step(rewindHeld());
    EXPECT_EQ(manager::worldHash(), hashes[99]);
    input::Frame step = rewindHeld();
    input::setStatus(step, key::step, input::JustPressed);
    session::step(step);
    EXPECT_EQ(manager::worldHash(), hashes[98]);
    // Let go, still paused: the world stands at that tick until the step key.
    session::step(input::Frame());
    EXPECT_EQ(manager::worldHash(), hashes[98]);
    input::Frame forwardStep;
    input::setStatus(forwardStep, key::step, input::JustPressed);
    session::step(forwardStep);
    EXPECT_NE(manager::worldHash(), hashes[98]);
}

TEST_F(Rewind, TheHistoryKeepsWithinItsCapAndItsReach)
{
    // One MiB: pouring, the world outgrows it and the oldest ticks go.
    again(1);
    std::vector<std::uint64_t> hashes = {manager::worldHash()};
    long longest = 0;
    for (int t = 0; t < 800; ++t) {
        input::Frame in;
        in.pointer = {100 + (t * 37) % 600, 100, true, false, false};
        session::step(in);
        hashes.push_back(manager::worldHash());
        ASSERT_LE(history::bytes(), std::size_t(1) << 20);
        longest = std::max(longest, history::reach());
    }
    EXPECT_LT(history::reach(), longest);
    EXPECT_GT(history::reach(), history::kTicksPerSnapshot);
    const long reach = history::reach();
    for (long i = 0; i <= reach; ++i)
        session::step(rewindHeld(i == 0));
    EXPECT_EQ(history::ticksBack(), reach);
    EXPECT_EQ(manager::worldHash(), hashes[static_cast<std::size_t>(800 - reach)]);

    // Never more than the last 60 s.
    again();
    forward(0, 6100, [](int) { return input::Frame(); });
    EXPECT_LE(history::reach(), history::kMostTicks);
    EXPECT_GT(history::reach(), history::kMostTicks - history::kTicksPerSnapshot);
}

TEST_F(Rewind, WithoutAHistoryTheKeyDoesNothingButSaySo)
{
    again(0);
    forward(0, 50);
    const std::uint64_t before = manager::worldHash();
    testing::internal::CaptureStdout();
    session::step(rewindHeld(true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "rewind: off: the world keeps no history (--history 0)\n");
    EXPECT_NE(manager::worldHash(), before);
    EXPECT_EQ(history::ticksBack(), 0);

    // At the very first tick there is nothing to go back to.
    again();
    testing::internal::CaptureStdout();
    session::step(rewindHeld(true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "rewind: the oldest tick kept, 0.00 s back\n");
}
