#include "ticks.h"

#include <cstdint>
#include <ctime>

namespace {
const float kSleepThreshold = 20000.0f;
const int kSleepUnitMillis = 20;
}  // namespace

int tickCountMicro()
{
    // Monotonic, so a wall-clock step cannot stall the loops.
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint32_t micro = static_cast<std::uint32_t>(now.tv_sec) * 1000000u +
                                static_cast<std::uint32_t>(now.tv_nsec / 1000);
    return static_cast<int>(micro);
}

int tickCountMilli()
{
    return tickCountMicro() / 1000;
}

int tickCountSec()
{
    return tickCountMicro() / 1000000;
}

int tickDifference(int later, int earlier)
{
    return static_cast<int>(static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier));
}

int pacingSleepMillis(float& bank, int elapsedMicro, float budgetMicro)
{
    float wait = budgetMicro - static_cast<float>(elapsedMicro);
    if (!(wait > 0.0f))
        wait = 0.0f;
    const float sum = bank + wait;
    bank = sum;
    if (!(sum > kSleepThreshold))
        return 0;
    const int units = static_cast<int>(sum / kSleepThreshold);
    // In float: after a long step back the withdrawal can exceed an int.
    bank = sum - static_cast<float>(units) * kSleepThreshold;
    return units * kSleepUnitMillis;
}
