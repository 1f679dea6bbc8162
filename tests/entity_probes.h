#pragma once

// Entities that count what the world does to them. Their draw() only reads
// the position, so they need no window, and the counters of ProbeBall and
// ProbePoint live outside them so that they stay readable once a probe is
// deleted.

#include <vector>

#include "Ball.h"
#include "Point.h"
#include "graphics.h"

namespace probe {

struct Calls {
    int updates = 0;
    int draws = 0;
    // Sum of the x positions seen by draw(): makes draw() read the entity.
    float drawnX = 0.0f;
};

class ProbeBall : public Ball {
public:
    ProbeBall(Calls& counters, Vector2 const& centre) : Ball(centre, 10.0f, cCyan), calls(counters) {}

    void update(float dt) override
    {
        ++calls.updates;
        Ball::update(dt);
    }

    void draw() const override
    {
        ++calls.draws;
        calls.drawnX += position.x;
    }

private:
    Calls& calls;
};

class ProbePoint : public Point {
public:
    ProbePoint(Calls& counters, Vector2 const& where) : Point(where, false), calls(counters) {}

    void update(float dt) override
    {
        ++calls.updates;
        Point::update(dt);
    }

    void draw() const override
    {
        ++calls.draws;
        calls.drawnX += position.x;
    }

private:
    Calls& calls;
};

// Every impulse an ImpulseBall received, by receiver, in order.
inline std::vector<PhysicsEntity const*> impulseOrder;

// A ball that records every impulse the contact responses give it, with its
// point, then takes it as any ball does.
class ImpulseBall : public Ball {
public:
    struct Impulse {
        Vector2 change;
        Vector2 point;
    };
    std::vector<Impulse> impulses;

    ImpulseBall(Vector2 const& centre, float r, Vector2 const& v = Vector2(), float e = 0.8f)
        : Ball(centre, r, cCyan)
    {
        velocity = v;
        restitution = e;
    }

    using Ball::applyImpulse;
    void applyImpulse(Vector2 const& j, Vector2 const& point) override
    {
        impulses.push_back({j, point});
        impulseOrder.push_back(this);
        Ball::applyImpulse(j, point);
    }
};

}  // namespace probe
