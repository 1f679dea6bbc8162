#pragma once

// Checks of floats and vectors shared by the tests.

#include <gtest/gtest.h>

#include <cstring>

#include "Vector2.h"

// Both components within `tolerance` of (x, y).
inline void expectVector(Vector2 const& actual, float x, float y, float tolerance = 1e-6f)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
}

// The same bit pattern: 0.0 and -0.0 differ, and a NaN is its own equal.
inline bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool sameBits(Vector2 const& a, Vector2 const& b)
{
    return sameBits(a.x, b.x) && sameBits(a.y, b.y);
}
