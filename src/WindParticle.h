#pragma once

#include "Point.h"

class WindParticle : public Point {
public:
    WindParticle(Vector2 const& position, float lifetime);

    void update(float dt) override;
};
