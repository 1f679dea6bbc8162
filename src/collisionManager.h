#pragma once

#include <cstdint>
#include <set>
#include <vector>

class PhysicsEntity;

// Broad phase: a 20 x 16 grid over the screen, rebuilt every tick; every pair
// sharing a cell is tested, once per shared cell, and handed to the contact
// rules of CollisionInfo.h.
namespace collision {

// The grid's cells: column by x, row by y, from the top-left corner.
const int kColumns = 20;
const int kRows = 16;
const float kCellWidth = 40.0f;
const float kCellHeight = 37.0f;

// The bodies the last update entered in at least one cell, in the order of
// the entity set; the cells hold indices into it, so each cell lists its
// bodies in ascending address order.
extern std::vector<PhysicsEntity*> placed;
// The cells, column first, row second. Cleared every tick; they keep their
// capacity.
extern std::vector<std::uint32_t> divisions[kColumns][kRows];

void init();
void clean();
// Not called by the program: for tests and benchmarks.
void update(std::set<PhysicsEntity*>& entities);
// update over a vector in ascending address order without repeats.
void update(std::vector<PhysicsEntity*> const& entities);

// What the last update found: the bodies it entered in a cell, and the
// contact responses that changed a body.
int bodiesIn(int column, int row);
int contactsResolved();

}  // namespace collision
