#pragma once

#include "Entity.h"

// A massless entity that drifts at its own velocity and may expire.
class Particle : public Entity {
public:
    float lifetime;
    bool expired;
    bool mortal;

    // A lifetime makes a mortal particle; the flag form gets an empty lifetime.
    Particle(Vector2 const& position, float lifetime);
    Particle(Vector2 const& position, bool mortal);

    void update(float dt) override;
};
