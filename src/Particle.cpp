#include "Particle.h"

Particle::Particle(Vector2 const& start, float life)
    : Entity(start, Kind::particle), lifetime(life), expired(false), mortal(true)
{
}

Particle::Particle(Vector2 const& start, bool isMortal)
    : Entity(start, Kind::particle), lifetime(0.0f), expired(false), mortal(isMortal)
{
}

void Particle::update(float dt)
{
    if (expired)
        return;
    if (mortal) {
        lifetime = lifetime - dt;
        expired = lifetime <= 0.0f;
    }
    position = position + velocity * dt;
}
