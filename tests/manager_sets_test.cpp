// The entity manager's live sets against a model of ordered sets: random
// additions and removals, repeated and cancelling, merged by updates and
// draws, must leave every entity updated and drawn once per pass, in
// ascending address order.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "Ball.h"
#include "Point.h"
#include "debug.h"
#include "entityManager.h"
#include "graphics.h"

namespace {

// Every update() and draw() of the probes below, in call order.
std::vector<Entity const*> s_updated;
std::vector<Entity const*> s_drawn;

// Far apart, at rest and without effects: nothing moves them or makes them
// collide.
class LoggingBall : public Ball {
public:
    LoggingBall() : Ball(Vector2(0.0f, 0.0f), 1.0f, cCyan) {}
    void update(float) override { s_updated.push_back(this); }
    void draw() const override { s_drawn.push_back(this); }
};

class LoggingPoint : public Point {
public:
    LoggingPoint() : Point(Vector2(0.0f, 0.0f), false) {}
    void update(float) override { s_updated.push_back(this); }
    void draw() const override { s_drawn.push_back(this); }
};

// The manager as a set model: pending additions and removals, where the
// last call for an entity cancels an earlier opposite one, merged additions
// first.
struct Model {
    std::set<Entity const*, std::less<Entity const*>> live;
    std::set<Entity const*, std::less<Entity const*>> toAdd;
    std::set<Entity const*, std::less<Entity const*>> toRemove;

    void merge()
    {
        live.insert(toAdd.begin(), toAdd.end());
        for (Entity const* e : toRemove)
            live.erase(e);
        toAdd.clear();
        toRemove.clear();
    }
};

std::vector<Entity const*> inFamily(std::set<Entity const*, std::less<Entity const*>> const& live, bool particles)
{
    std::vector<Entity const*> family;
    for (Entity const* e : live)
        if (e->isParticle() == particles)
            family.push_back(e);
    return family;
}

}  // namespace

TEST(LiveSets, FollowTheSetModelInAddressOrder)
{
    debug::init();
    manager::init();
    std::vector<LoggingBall> balls(40);
    std::vector<LoggingPoint> points(40);
    std::vector<Entity*> entities;
    for (std::size_t i = 0; i < balls.size(); ++i) {
        entities.push_back(&balls[i]);
        entities.push_back(&points[i]);
    }
    std::mt19937 random(7);
    Model model;
    int passes = 0;
    for (int step = 0; step < 3000; ++step) {
        Entity* e = entities[random() % entities.size()];
        switch (random() % 5) {
        case 0:
        case 1:
            manager::add(e);
            model.toRemove.erase(e);
            model.toAdd.insert(e);
            break;
        case 2:
        case 3:
            manager::remove(e);
            model.toAdd.erase(e);
            model.toRemove.insert(e);
            break;
        default: {
            model.merge();
            s_updated.clear();
            s_drawn.clear();
            const bool update = random() % 2 == 0;
            if (update)
                manager::update(10.0f);
            else
                manager::draw();
            // Particles first, then physics, each in address order.
            std::vector<Entity const*> expected = inFamily(model.live, true);
            const std::vector<Entity const*> bodies = inFamily(model.live, false);
            expected.insert(expected.end(), bodies.begin(), bodies.end());
            EXPECT_EQ(update ? s_updated : s_drawn, expected) << "step " << step;
            EXPECT_TRUE((update ? s_drawn : s_updated).empty());
            passes += !expected.empty();
        }
        }
    }
    EXPECT_GT(passes, 300);
    manager::clean();
}
