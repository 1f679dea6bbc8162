#pragma once

#include "Point.h"

// The program makes no particles: for tests.
class WindParticle : public Point {
public:
    WindParticle(Vector2 const& position, float lifetime);

    void update(float dt) override;
};
