// The kind each entity carries from its constructors, against the run-time
// type tests it stands in for: every class of the system, and subclasses the
// system does not know, which must count as their base.

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <vector>

#include "Ball.h"
#include "Line.h"
#include "Point.h"
#include "Polygon.h"
#include "Screen.h"
#include "WindParticle.h"
#include "graphics.h"

namespace {

class Stray : public Entity {
public:
    Stray() : Entity(Vector2(1, 2)) {}
    void update(float) override {}
    void draw() const override {}
};

class Shapeless : public PhysicsEntity {
public:
    Shapeless() : PhysicsEntity(Vector2(3, 4)) {}
    void draw() const override {}
};

class GlowingBall : public Ball {
public:
    explicit GlowingBall(Vector2 const& centre) : Ball(centre, 30.0f, cYellow) {}
    void draw() const override {}
};

class Wedge : public Polygon {
public:
    Wedge() : Polygon({Vector2(0, 0), Vector2(10, 0), Vector2(0, 10)}, cGreen) {}
};

class Spark : public WindParticle {
public:
    Spark() : WindParticle(Vector2(5, 6), 100.0f) {}
};

std::vector<std::unique_ptr<Entity>> everyKind()
{
    std::vector<std::unique_ptr<Entity>> entities;
    entities.push_back(std::make_unique<Ball>(Vector2(1, 1), 10.0f, cCyan));
    entities.push_back(std::make_unique<Polygon>(std::vector<Vector2>{Vector2(7, 8)}, cRed));
    entities.push_back(std::make_unique<Point>(Vector2(1, 1), 50.0f));
    entities.push_back(std::make_unique<Point>(Vector2(1, 1), false));
    entities.push_back(std::make_unique<Line>(Vector2(1, 1), Vector2(2, 2), 50.0f));
    entities.push_back(std::make_unique<Line>(Vector2(1, 1), Vector2(2, 2), true));
    entities.push_back(std::make_unique<WindParticle>(Vector2(1, 1), 50.0f));
    entities.push_back(std::make_unique<Stray>());
    entities.push_back(std::make_unique<Shapeless>());
    entities.push_back(std::make_unique<GlowingBall>(Vector2(1, 1)));
    entities.push_back(std::make_unique<Wedge>());
    entities.push_back(std::make_unique<Spark>());
    return entities;
}

}  // namespace

TEST(EntityKinds, AgreeWithRunTimeTypeTests)
{
    int kinds[5] = {};
    for (auto const& entity : everyKind()) {
        Entity* e = entity.get();
        SCOPED_TRACE(typeid(*e).name());
        EXPECT_EQ(e->isParticle(), dynamic_cast<Particle*>(e) != nullptr);
        EXPECT_EQ(e->isPhysics(), dynamic_cast<PhysicsEntity*>(e) != nullptr);
        EXPECT_EQ(e->kind() == Entity::Kind::ball, dynamic_cast<Ball*>(e) != nullptr);
        EXPECT_EQ(e->kind() == Entity::Kind::polygon, dynamic_cast<Polygon*>(e) != nullptr);
        EXPECT_EQ(e->kind() == Entity::Kind::other, !e->isParticle() && !e->isPhysics());
        ++kinds[static_cast<int>(e->kind())];
    }
    // Every kind was met: two of neither family or shape, the rest shapes
    // and particles.
    EXPECT_EQ(kinds[static_cast<int>(Entity::Kind::other)], 1);
    EXPECT_EQ(kinds[static_cast<int>(Entity::Kind::physics)], 1);
    EXPECT_EQ(kinds[static_cast<int>(Entity::Kind::ball)], 2);
    EXPECT_EQ(kinds[static_cast<int>(Entity::Kind::polygon)], 2);
    EXPECT_EQ(kinds[static_cast<int>(Entity::Kind::particle)], 6);
}

// The walls keep a ball's whole disc inside, whatever class it is; a body
// without a radius only its position.
TEST(EntityKinds, WallsUseTheRadiusOfEveryBall)
{
    const Screen walls;
    GlowingBall ball(Vector2(400.0f, 590.0f));
    EXPECT_EQ(walls.positionDelta(&ball, 10.0f).y, -20.0f);
    Shapeless body;
    body.position = Vector2(400.0f, 590.0f);
    EXPECT_EQ(walls.positionDelta(&body, 10.0f).y, 0.0f);
}
