#pragma once

#include <vector>

#include "game.h"

class Ball;
class Vector2;

// The benchmark worlds: a reproducible scatter of small cyan balls.
namespace bench {

using game::kStep;
const float kLatticeRadius = 10.0f;

// Centres of `count` balls drawn from a fixed linear congruential sequence,
// the same on every machine and every run.
std::vector<Vector2> latticePositions(int count);

// Makes the balls of latticePositions(count) through the entity creator, so
// they are queued for the manager like mouse balls; returns them in order.
std::vector<Ball*> addLattice(int count);

}  // namespace bench
