#pragma once

#include "Particle.h"

// A particle whose first end is its position.
// The program makes no particles: for tests.
class Line : public Particle {
public:
    Vector2 end;

    Line(Vector2 const& start, Vector2 const& end, float lifetime);
    Line(Vector2 const& start, Vector2 const& end, bool mortal);

    void draw() const override;
};
