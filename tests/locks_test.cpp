#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <future>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "Autolock.h"
#include "Mutex.h"
#include "debug.h"
#include "handleSignal.h"

namespace {

const int kLinesPerThread = 50000;
const char kAssertReport[] = "void DASSERT\\(bool\\).*fBreak";

const auto kBriefly = std::chrono::milliseconds(50);
const auto kSurely = std::chrono::seconds(10);

// Static, so a thread still blocked on it when a check fails never outlives
// it; those checks are fatal so the lock is not cleaned under such a thread.
Mutex s_mutex;

// Starts a thread that locks s_mutex and releases it again; the future is
// ready once it has. The thread is detached, so a lock that stays taken fails
// the test instead of hanging it.
std::future<void> lockElsewhere()
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> locked = done->get_future();
    std::thread([done] {
        s_mutex.Lock();
        s_mutex.Unlock();
        done->set_value();
    }).detach();
    return locked;
}

bool blocks(std::future<void> const& locked)
{
    return locked.wait_for(kBriefly) == std::future_status::timeout;
}

bool getsThrough(std::future<void> const& locked)
{
    return locked.wait_for(kSurely) == std::future_status::ready;
}

TEST(MutexTest, RecursiveOnOneThreadAndExclusiveBetweenThreads)
{
    EXPECT_FALSE(s_mutex.IsValid());
    s_mutex.init();
    EXPECT_TRUE(s_mutex.IsValid());

    s_mutex.Lock();
    s_mutex.Lock();
    // Held, even once over, by this thread: nobody else gets in.
    const std::future<void> first = lockElsewhere();
    EXPECT_TRUE(blocks(first));
    s_mutex.Unlock();
    EXPECT_TRUE(blocks(first));
    s_mutex.Unlock();
    // Every Lock matched: the waiting thread and a later one get through.
    ASSERT_TRUE(getsThrough(first));
    ASSERT_TRUE(getsThrough(lockElsewhere()));

    s_mutex.clean();
    EXPECT_FALSE(s_mutex.IsValid());
}

TEST(MutexTest, AutolockHoldsForItsScope)
{
    s_mutex.init();
    std::future<void> waiting;
    {
        Autolock outer(s_mutex);
        {
            // Nested guards on the same thread do not block.
            Autolock inner(s_mutex);
        }
        waiting = lockElsewhere();
        EXPECT_TRUE(blocks(waiting));

        // An explicit Unlock gives the lock away until the matching Lock.
        outer.Unlock();
        ASSERT_TRUE(getsThrough(waiting));
        outer.Lock();
        waiting = lockElsewhere();
        EXPECT_TRUE(blocks(waiting));
    }
    ASSERT_TRUE(getsThrough(waiting));
    s_mutex.clean();
}

TEST(MutexDeathTest, MisuseAborts)
{
    // Unlocked by a thread that does not hold it.
    EXPECT_EXIT(
        {
            Mutex mutex;
            mutex.init();
            mutex.Lock();
            std::thread([&mutex] { mutex.Unlock(); }).join();
        },
        testing::KilledBySignal(SIGABRT), kAssertReport);

    // Used outside the span from init to clean.
    EXPECT_EXIT(
        {
            Mutex mutex;
            mutex.Lock();
        },
        testing::KilledBySignal(SIGABRT), kAssertReport);
    EXPECT_EXIT(
        {
            Mutex mutex;
            mutex.init();
            mutex.clean();
            mutex.Lock();
        },
        testing::KilledBySignal(SIGABRT), kAssertReport);
    EXPECT_EXIT(
        {
            Mutex mutex;
            mutex.init();
            mutex.Lock();
            mutex.clean();
            mutex.Unlock();
        },
        testing::KilledBySignal(SIGABRT), kAssertReport);
}

TEST(DebugTest, LinesFromTwoThreadsStayWhole)
{
    debug::init();
    const std::string a(20, 'a');
    const std::string b(20, 'b');

    testing::internal::CaptureStdout();
    std::atomic<bool> go{false};
    auto print = [&go](std::string const& text) {
        while (!go.load()) {
        }
        for (int i = 0; i < kLinesPerThread; ++i)
            DPF(0, text.c_str());
    };
    std::thread first(print, std::cref(a));
    std::thread second(print, std::cref(b));
    go.store(true);
    first.join();
    second.join();
    const std::string out = testing::internal::GetCapturedStdout();

    std::istringstream lines(out);
    std::string line;
    int as = 0;
    int bs = 0;
    int broken = 0;
    std::string firstBroken;
    while (std::getline(lines, line)) {
        if (line == a) {
            ++as;
        } else if (line == b) {
            ++bs;
        } else if (broken++ == 0) {
            firstBroken = line;
        }
    }
    EXPECT_EQ(broken, 0) << "first broken line: \"" << firstBroken << '"';
    EXPECT_EQ(as, kLinesPerThread);
    EXPECT_EQ(bs, kLinesPerThread);
    debug::clean();
}

TEST(DebugTest, LevelDoesNotFilter)
{
    debug::init();
    testing::internal::CaptureStdout();
    DPF(0, "World Created");
    DPF(5, "World Created");
    DPF(-1, "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "World Created\nWorld Created\n\n");
    debug::clean();
}

TEST(DebugDeathTest, AssertionAndExits)
{
    DASSERT(true);

    // Active in this optimised build as well, and always reported as itself.
    EXPECT_EXIT(DASSERT(false), testing::KilledBySignal(SIGABRT), kAssertReport);

    // Printing needs the lock that debug::init creates.
    EXPECT_EXIT(DPF(0, "too early"), testing::KilledBySignal(SIGABRT), kAssertReport);

    // quit flushes what is still buffered before it ends the process.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            std::cout << "still buffered";
            debug::quit(3);
        },
        testing::ExitedWithCode(3), "still buffered");
}

TEST(SignalDeathTest, InterruptEndsWithStatusTwo)
{
    EXPECT_EXIT(
        {
            installSignal();
            raise(SIGINT);
            std::cerr << "not ended" << std::endl;
        },
        testing::ExitedWithCode(2), "^SIGINT caught\n$");
}

}  // namespace
