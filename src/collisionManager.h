#pragma once

#include <set>
#include <vector>

class Ball;
class PhysicsEntity;
class Polygon;

// Broad phase: a 20 x 16 grid over the screen, rebuilt every tick; every pair
// sharing a cell is tested, once per shared cell.
namespace collision {

// The grid's cells: column by x, row by y, from the top-left corner.
const int kColumns = 20;
const int kRows = 16;
const float kCellWidth = 40.0f;
const float kCellHeight = 37.0f;

void init();
void clean();
void update(std::set<PhysicsEntity*>& entities);
// The same over a vector in ascending address order without repeats.
void update(std::vector<PhysicsEntity*> const& entities);

// What the last update found: the bodies it entered in a cell, and the
// contact responses that changed a body.
int bodiesIn(int column, int row);
int contactsResolved();

}  // namespace collision

// Contact responses. Both read the bodies afresh, so a later test in a tick
// sees the result of an earlier one.
void applyCollision(Ball* a, Ball* b);
void applyCollision(Polygon* polygon, Ball* ball);
