#pragma once

#include <vector>

#include "Polygon.h"

// The points the left button places while an obstacle is drawn, handed from
// the update thread, which places and takes them, to the draw thread, which
// shows them.
namespace shapePoints {

// The most points kept: past that, only the corners of their hull are.
const int kMaxPoints = 1024;

// A point at the pointer, clamped to the window.
void add(int x, int y);
// Every point, and none left.
std::vector<polygon::Pixel> take();
// Every point, left in place: for the draw thread, and for rewinding,
// which takes a drawing back with the world and puts its points back.
std::vector<polygon::Pixel> copy();
void replace(std::vector<polygon::Pixel> const& points);

}  // namespace shapePoints
