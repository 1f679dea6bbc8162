#include "Point.h"

Point::Point(Vector2 const& start, float life) : Particle(start, life), size(2.0f) {}

Point::Point(Vector2 const& start, bool isMortal) : Particle(start, isMortal), size(2.0f) {}

void Point::draw() const {}
