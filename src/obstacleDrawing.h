#pragma once

#include <vector>

class Vector2;

// An obstacle being drawn: the points the left button placed, and the convex
// polygon they make, which the creator puts into the world when drawing ends.
namespace obstacleDrawing {

// The most corners an obstacle has, and the most points kept while drawing
// (past that, only the points of their hull are kept).
const int kMaxCorners = 16;
const int kMaxPoints = 1024;

// A point in window pixels.
struct Point {
    int x;
    int y;
};

// Update thread: a point at the pointer, clamped to the window; and all
// points gone, when an obstacle is made or drawing ends.
void addPoint(int x, int y);
void clear();

// The obstacle the points make: the corners of their convex hull in ring
// order, at most kMaxCorners of them (of a larger hull, the corners whose
// loss costs least area go first); none when fewer than three points are off
// one line.
std::vector<Vector2> corners();

// Draw thread: each point as a small mark, and the outline of the obstacle
// they make so far, in front of the world; every piece of GL state touched
// is restored.
void draw();

// The convex hull of the points without collinear corners, in ring order
// from the leftmost (then topmost) point; cut to kMaxCorners as corners() is.
// Fewer than three points come back as they are, duplicates dropped; points
// all on one line come back as the two ends.
std::vector<Point> hullOf(std::vector<Point> points);

}  // namespace obstacleDrawing
