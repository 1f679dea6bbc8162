#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <vector>

class Ball;

// Figures the benchmark programs derive from their samples and worlds.
namespace bench {

// Times one stretch of work from its construction: wall-clock time (what the
// 10 ms tick budget is about) and processor time of the process (less
// disturbed when other programs share the machine), both in milliseconds.
class Stopwatch {
public:
    Stopwatch();
    double wallMs() const;
    double cpuMs() const;

private:
    std::chrono::steady_clock::time_point wallStart;
    std::clock_t cpuStart;
};

// Mean of ms[from, to); the range must not be empty.
double meanMs(std::vector<double> const& ms, std::size_t from, std::size_t to);

// True when there are at least `window` samples and the mean of the last
// `window` of them is strictly above budgetMs.
bool trailingMeanOver(std::vector<double> const& ms, std::size_t window, double budgetMs);

// FNV-1a over the bit patterns of every ball's position and velocity, in the
// order given: equal hashes mean a bit-identical world for those balls.
std::uint64_t stateHash(std::vector<Ball*> const& balls);

}  // namespace bench
