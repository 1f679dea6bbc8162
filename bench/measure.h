#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Ball;

// Figures the benchmark programs derive from their samples and worlds.
namespace bench {

// Mean of ms[from, to); the range must not be empty.
double meanMs(std::vector<double> const& ms, std::size_t from, std::size_t to);

// True when there are at least `window` samples and the mean of the last
// `window` of them is strictly above budgetMs.
bool trailingMeanOver(std::vector<double> const& ms, std::size_t window, double budgetMs);

// FNV-1a over the bit patterns of every ball's position and velocity, in the
// order given: equal hashes mean a bit-identical world for those balls.
std::uint64_t stateHash(std::vector<Ball*> const& balls);

}  // namespace bench
