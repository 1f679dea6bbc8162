#include "threadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace threadPriority {

namespace {

const int kLowestPriority = 19;

}  // namespace

bool lowerCurrentThread(int steps)
{
    // On Linux a nice value belongs to a thread, addressed by its thread id.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    errno = 0;
    const int now = getpriority(PRIO_PROCESS, thread);
    if (now == -1 && errno != 0)
        return false;
    return setpriority(PRIO_PROCESS, thread, std::min(now + steps, kLowestPriority)) == 0;
}

}  // namespace threadPriority
