#include "lattice.h"

#include <cstdint>

#include "Ball.h"
#include "Vector2.h"
#include "entityCreator.h"
#include "graphics.h"

namespace bench {

namespace {

const std::uint64_t kModulus = std::uint64_t(1) << 31;

// s <- (1103515245 * s + 12345) mod 2^31, in 64-bit unsigned arithmetic
// (exact: the product stays below 2^62). Returns s / 2^31 in [0, 1) as a double.
double nextFraction(std::uint64_t& s)
{
    s = (1103515245u * s + 12345u) % kModulus;
    return static_cast<double>(s) / static_cast<double>(kModulus);
}

}  // namespace

// Starting from s = 12345, each ball advances s once for x and once more for
// y: x = 10 + 780 * u1, y = 10 + 580 * u2, evaluated in double and rounded to
// float once, so every centre lies in [10, 790] x [10, 590] (the whole ball
// on the screen).
std::vector<Vector2> latticePositions(int count)
{
    std::vector<Vector2> positions;
    positions.reserve(static_cast<std::size_t>(count));
    std::uint64_t s = 12345;
    for (int i = 0; i < count; ++i) {
        const double x = 10.0 + 780.0 * nextFraction(s);
        const double y = 10.0 + 580.0 * nextFraction(s);
        positions.emplace_back(static_cast<float>(x), static_cast<float>(y));
    }
    return positions;
}

std::vector<Ball*> addLattice(int count)
{
    std::vector<Ball*> balls;
    balls.reserve(static_cast<std::size_t>(count));
    for (Vector2 const& position : latticePositions(count))
        balls.push_back(creator::addBall(position, kLatticeRadius, cCyan));
    return balls;
}

}  // namespace bench
