#include "measure.h"

#include <cstring>

#include "Ball.h"
#include "checksum.h"
#include "debug.h"

namespace bench {

Stopwatch::Stopwatch() : wallStart(std::chrono::steady_clock::now()), cpuStart(std::clock()) {}

double Stopwatch::wallMs() const
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
}

double Stopwatch::cpuMs() const
{
    return 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
}

double meanMs(std::vector<double> const& ms, std::size_t from, std::size_t to)
{
    DASSERT(from < to && to <= ms.size());
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += ms[i];
    return sum / static_cast<double>(to - from);
}

bool trailingMeanOver(std::vector<double> const& ms, std::size_t window, double budgetMs)
{
    if (window == 0 || ms.size() < window)
        return false;
    return meanMs(ms, ms.size() - window, ms.size()) > budgetMs;
}

std::uint64_t stateHash(std::vector<Ball*> const& balls)
{
    Checksum hash;
    for (Ball const* ball : balls) {
        hash.addValue(ball->position.x);
        hash.addValue(ball->position.y);
        hash.addValue(ball->velocity.x);
        hash.addValue(ball->velocity.y);
    }
    return hash.value();
}

}  // namespace bench
