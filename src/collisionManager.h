#pragma once

#include <set>
#include <vector>

class Ball;
class PhysicsEntity;
class Polygon;

// Broad phase: a 20 x 16 grid over the screen, rebuilt every tick; every pair
// sharing a cell is tested, once per shared cell.
namespace collision {

void init();
void clean();
void update(std::set<PhysicsEntity*>& entities);
// The same over a vector in ascending address order without repeats.
void update(std::vector<PhysicsEntity*> const& entities);

}  // namespace collision

// Contact responses. Both read the bodies afresh, so a later test in a tick
// sees the result of an earlier one.
void applyCollision(Ball* a, Ball* b);
void applyCollision(Polygon* polygon, Ball* ball);
