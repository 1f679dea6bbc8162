#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "game.h"

class Ball;
class Vector2;

namespace scene {
struct Scene;
}

// The benchmark worlds, each the same on every machine and every run: a
// scatter of small cyan balls, a pour over the starting scene and over 32
// pegs; and the preset scenes, which are made from them.
namespace bench {

using game::kStep;
const float kLatticeRadius = 10.0f;
// The balls of the lattice preset.
const int kPresetLattice = 2000;

// Centres of `count` balls drawn from a fixed linear congruential sequence,
// the same on every machine and every run.
std::vector<Vector2> latticePositions(int count);

// The balls of latticePositions(count) as a scene: at rest, in the first
// slots, queued for the right button in order. Of 2,000, the lattice preset.
scene::Scene latticeScene(int count);

// Makes the balls of latticePositions(count) through the entity creator, so
// they are queued for the manager like mouse balls; returns them in order.
std::vector<Ball*> addLattice(int count);

// The world as the benchmarks run it, without the game's states: the
// effects, the scene (world::build) and the manager.
void buildWorld(scene::Scene const& scene);

// The ball the pour adds before tick t: radius 10, at
// (100 + 7t mod 600, 100 + 3t mod 200).
Ball* pourBall(std::size_t t);
// The starting scene (and 32 hexagonal pegs under the pour), then the pour,
// tick by tick, until `count` balls lie in the world.
void pourPile(int count, bool pegs = false);

// The preset scenes, each made in a process of its own and written to
// DIR/NAME.scene: start, lattice (2,000 balls), pile (3,000 balls poured
// over the starting scene), funnel and pachinko. False when one could not
// be written.
bool writePresets(std::string const& dir);

}  // namespace bench
