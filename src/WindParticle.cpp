#include "WindParticle.h"

WindParticle::WindParticle(Vector2 const& start, float life) : Point(start, life) {}

void WindParticle::update(float dt)
{
    Particle::update(dt);
}
