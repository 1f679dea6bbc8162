#include "Grab.h"

#include <algorithm>
#include <cmath>

#include "Gravity.h"
#include "PhysicsEntity.h"

// With the world's integration a spring of stiffness k and damping c on a
// mass m settles tick by tick like a * lambda^n with lambda = 1 - sqrt(kappa
// / 2), kappa = k dt^2 / m, when c = 4 (1 - lambda) / (2 - lambda) m / dt:
// the fastest approach that never overshoots twice. A light ball gets a
// softer spring, so that kappa stays at most 2 and lambda not below 0.
Vector2 Grab::forceDelta(PhysicsEntity const* e, float dt) const
{
    if (e != held)
        return Vector2(0.0f, 0.0f);
    const float mass = e->mass;
    const float stiffness = std::min(kStiffness, 2.0f * mass / (dt * dt));
    const float lambda = 1.0f - std::sqrt(stiffness * dt * dt / mass / 2.0f);
    const float damping = 4.0f * (1.0f - lambda) / (2.0f - lambda) * mass / dt;
    Vector2 const& p = e->positionRaw();
    Vector2 const& v = e->velocityRaw();
    float x = (target.x - p.x) * stiffness - v.x * damping;
    float y = (target.y - p.y) * stiffness - v.y * damping;
    const float most = mass * kMostPull;
    const float size = std::sqrt(x * x + y * y);
    if (size > most) {
        x = x / size * most;
        y = y / size * most;
    }
    return Vector2(x, y - mass * forceGravity);
}
