// The draw thread lowers its own priority before it starts the renderer's
// threads: the drop must reach those threads and never the update thread.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#include "threadPriority.h"

namespace {

int niceOfThisThread()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
}

}  // namespace

TEST(ThreadPriority, DropReachesLaterThreadsOnlyAndStopsAtTheLowest)
{
    const int before = niceOfThisThread();
    ASSERT_LE(before, 14) << "the test needs room below the current priority";
    int lowered = 0;
    int started = 0;
    int capped = 0;
    std::thread drawer([&] {
        EXPECT_TRUE(threadPriority::lowerCurrentThread(5));
        lowered = niceOfThisThread();
        std::thread([&] { started = niceOfThisThread(); }).join();
        EXPECT_TRUE(threadPriority::lowerCurrentThread(100));
        capped = niceOfThisThread();
    });
    drawer.join();
    EXPECT_EQ(lowered, before + 5);
    EXPECT_EQ(started, before + 5);
    EXPECT_EQ(capped, 19);
    EXPECT_EQ(niceOfThisThread(), before);
}
