#pragma once

// Entities that count what the world does to them. Their draw() only reads
// the position, so they need no window, and the counters live outside them so
// that they stay readable once a probe is deleted.

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

}  // namespace probe
