#include "Line.h"

Line::Line(Vector2 const& start, Vector2 const& finish, float life) : Particle(start, life), end(finish) {}

Line::Line(Vector2 const& start, Vector2 const& finish, bool isMortal) : Particle(start, isMortal), end(finish) {}

void Line::draw() const {}
