#pragma once

#include <vector>

#include "Polygon.h"

// How an obstacle being drawn looks.
namespace obstacleDrawing {

// Draw thread: each point as a small mark, and the outline of the obstacle
// they make so far (their hull, as polygon::hull cuts it), in front of the
// world; every piece of GL state touched is restored.
void draw(std::vector<polygon::Pixel> const& points);

}  // namespace obstacleDrawing
