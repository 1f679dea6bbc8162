#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <thread>
#include <vector>

#include "ticks.h"

namespace {

// One iteration's work, the sleep it should earn and the bank it should leave.
struct Step {
    int elapsedMicro;
    int sleepMillis;
    float bankAfter;
};

void expectSteps(float bank, std::initializer_list<Step> steps)
{
    for (Step const& step : steps) {
        SCOPED_TRACE(testing::Message() << "elapsed " << step.elapsedMicro << " from bank " << bank);
        EXPECT_EQ(pacingSleepMillis(bank, step.elapsedMicro), step.sleepMillis);
        EXPECT_FLOAT_EQ(bank, step.bankAfter);
    }
}

TEST(PacingTest, ShortWorkBanksUntilOneSleep)
{
    // About 1 ms of work per iteration: two or three iterations run back to
    // back, then one 20 ms sleep.
    expectSteps(0.0f, {{1000, 0, 9000.0f},
                       {1000, 0, 18000.0f},
                       {1000, 20, 7000.0f},
                       {1000, 0, 16000.0f},
                       {1000, 20, 5000.0f}});
}

TEST(PacingTest, SleepsOnlyAboveTheThreshold)
{
    // Exactly 20 ms in the bank is not enough: the test is strict.
    expectSteps(10000.0f, {{0, 0, 20000.0f}, {9999, 20, 1.0f}});
}

TEST(PacingTest, OverrunDepositsNothing)
{
    // The overrun is not made up later either.
    expectSteps(9000.0f, {{15000, 0, 9000.0f},
                          {10000, 0, 9000.0f},
                          {INT_MAX, 0, 9000.0f},
                          {0, 0, 19000.0f}});

    // Over a mixed run the bank only ever falls by exactly what was slept.
    const int work[] = {500, 12000, 9999, 30000, 0, 10001, 4000, 25000, 100, 7000, 8000, 11000};
    float tracked = 0.0f;
    for (int round = 0; round < 10; ++round) {
        for (int elapsed : work) {
            const float before = tracked;
            const int sleep = pacingSleepMillis(tracked, elapsed);
            const float deposit = elapsed < 10000 ? 10000.0f - static_cast<float>(elapsed) : 0.0f;
            EXPECT_FLOAT_EQ(tracked, before + deposit - static_cast<float>(sleep) * 1000.0f)
                << "elapsed " << elapsed;
            EXPECT_GE(tracked, 0.0f);
        }
    }
}

TEST(PacingTest, SteadyWorkSleepsExactlyOneUnit)
{
    // With deposits of at most 10 ms the bank never holds two units at once.
    float bank = 0.0f;
    int slept = 0;
    std::srand(7);
    for (int i = 0; i < 5000; ++i) {
        const int elapsed = std::rand() % 12000;
        const int sleep = pacingSleepMillis(bank, elapsed);
        EXPECT_TRUE(sleep == 0 || sleep == 20) << sleep << " at iteration " << i;
        EXPECT_GE(bank, 0.0f);
        EXPECT_LE(bank, 20000.0f);
        slept += sleep;
    }
    EXPECT_GT(slept, 0);
}

TEST(PacingTest, ClockSteppingBackSleepsWholeUnits)
{
    // A negative elapsed time deposits more than the budget, and the bank is
    // paid out in as many whole 20 ms units as it holds.
    expectSteps(15000.0f, {{-50000, 60, 15000.0f}});
    expectSteps(0.0f, {{-30000, 40, 0.0f}});

    // The largest step back possible: still whole units and a bank below one
    // unit, with no overflow on the way.
    float bank = 19999.0f;
    const int sleep = pacingSleepMillis(bank, INT_MIN);
    EXPECT_GT(sleep, 0);
    EXPECT_EQ(sleep % 20, 0);
    EXPECT_NEAR(static_cast<double>(sleep), (19999.0 + 10000.0 + 2147483648.0) / 1000.0, 20.0);
    EXPECT_GE(bank, 0.0f);
    EXPECT_LE(bank, 20000.0f);
}

TEST(ClockTest, DifferenceAcrossTheWrap)
{
    EXPECT_EQ(tickDifference(INT_MIN + 10, INT_MAX - 5), 16);
    EXPECT_EQ(tickDifference(INT_MAX - 5, INT_MIN + 10), -16);
    EXPECT_EQ(tickDifference(5, -5), 10);
    EXPECT_EQ(tickDifference(-5, 5), -10);
    EXPECT_EQ(tickDifference(123456, 123456), 0);
    // Half the ring apart is the limit of what a difference can tell.
    EXPECT_EQ(tickDifference(INT_MAX, 0), INT_MAX);
    EXPECT_EQ(tickDifference(INT_MIN, 0), INT_MIN);
}

TEST(ClockTest, ReadingsAdvanceWithTime)
{
    std::vector<int> readings;
    readings.push_back(tickCountMicro());
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        readings.push_back(tickCountMicro());
    }
    for (size_t i = 1; i < readings.size(); ++i)
        EXPECT_GE(tickDifference(readings[i], readings[i - 1]), 5000) << "reading " << i;
    // Milliseconds and seconds are the same count divided down.
    const int micro = tickCountMicro();
    EXPECT_LE(std::abs(tickDifference(tickCountMilli(), micro / 1000)), 1);
    EXPECT_LE(std::abs(tickDifference(tickCountSec(), micro / 1000000)), 1);
}

}  // namespace
