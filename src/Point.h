#pragma once

#include "Particle.h"

// The program makes no particles: for tests.
class Point : public Particle {
public:
    float size;

    Point(Vector2 const& position, float lifetime);
    Point(Vector2 const& position, bool mortal);

    void draw() const override;
};
