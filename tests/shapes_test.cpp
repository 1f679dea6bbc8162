// Balls, polygons and their binding boxes, and the particle kinds.
#include <gtest/gtest.h>

#include <vector>

#include "Ball.h"
#include "Line.h"
#include "Point.h"
#include "Polygon.h"
#include "WindParticle.h"
#include "effectManager.h"
#include "graphics.h"

namespace {

void expectAt(Vector2 const& actual, float x, float y)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
}

void expectBox(std::vector<Vector2> const& vertices, Vector2 const& min, Vector2 const& max)
{
    const Polygon polygon(vertices, cRed);
    expectAt(polygon.bindingMin, min.x, min.y);
    expectAt(polygon.bindingMax, max.x, max.y);
}

}  // namespace

TEST(Shapes, BallStartsAtRestWithDefaults)
{
    const Ball ball(Vector2(50.0f, 50.0f), 20.0f, cGreen);
    EXPECT_EQ(ball.getRadius(), 20.0f);
    EXPECT_EQ(ball.colour, cGreen);
    expectAt(ball.positionRaw(), 50.0f, 50.0f);
    expectAt(ball.velocityRaw(), 0.0f, 0.0f);
    expectAt(ball.force, 0.0f, 0.0f);
    EXPECT_EQ(ball.mass, 1.0f);
    EXPECT_EQ(ball.restitution, 0.8f);
}

TEST(Shapes, BindingBoxSpansTheVertices)
{
    {
        SCOPED_TRACE("starting triangle");
        expectBox({Vector2(500, 500), Vector2(300, 500), Vector2(500, 300)}, Vector2(300, 300),
                  Vector2(500, 500));
    }
    {
        SCOPED_TRACE("upward triangle");
        expectBox({Vector2(500, 500), Vector2(600, 500), Vector2(550, 400)}, Vector2(500, 400),
                  Vector2(600, 500));
    }
    {
        SCOPED_TRACE("single vertex");
        expectBox({Vector2(3, 4)}, Vector2(3, 4), Vector2(3, 4));
    }
    {
        // The first vertex has the largest x and the largest y; later ones
        // only lower the minimum.
        SCOPED_TRACE("first vertex largest");
        expectBox({Vector2(10, 8), Vector2(2, 5), Vector2(6, -3), Vector2(4, 7)}, Vector2(2, -3),
                  Vector2(10, 8));
    }
    {
        SCOPED_TRACE("rising then falling");
        expectBox({Vector2(-1, -1), Vector2(5, 2), Vector2(-4, 9), Vector2(3, -6)}, Vector2(-4, -6),
                  Vector2(5, 9));
    }

    // The vertex list is a copy, and the position starts at the origin.
    std::vector<Vector2> corners = {Vector2(1, 2), Vector2(3, 4)};
    const Polygon polygon(corners, cBlue);
    corners[0] = Vector2(100, 100);
    expectAt(polygon.vertices[0], 1.0f, 2.0f);
    expectAt(polygon.positionRaw(), 0.0f, 0.0f);
    EXPECT_EQ(polygon.colour, cBlue);
    EXPECT_EQ(polygon.mass, 1.0f);
}

TEST(ShapesDeathTest, PolygonWithoutVerticesAborts)
{
    EXPECT_DEATH(Polygon(std::vector<Vector2>(), cRed), "");
}

// A polygon is a fixed obstacle: its integrated position moves, its shape
// does not.
TEST(Shapes, PolygonShapeIgnoresItsPosition)
{
    effect::init();
    const std::vector<Vector2> triangle = {Vector2(500, 500), Vector2(300, 500), Vector2(500, 300)};
    Polygon polygon(triangle, cRed);
    for (int i = 0; i < 500; ++i)
        polygon.update(10.0f);

    EXPECT_GT(polygon.positionRaw().y, 100.0f);
    ASSERT_EQ(polygon.vertices.size(), triangle.size());
    for (std::size_t i = 0; i < triangle.size(); ++i)
        expectAt(polygon.vertices[i], triangle[i].x, triangle[i].y);
    expectAt(polygon.bindingMin, 300.0f, 300.0f);
    expectAt(polygon.bindingMax, 500.0f, 500.0f);
}

// Every constructor leaves both lifetime fields defined: a lifetime makes the
// particle mortal, a flag gives it an empty lifetime.
TEST(Particles, ConstructorsDefineEveryField)
{
    const Point timed(Vector2(1, 2), 30.0f);
    EXPECT_TRUE(timed.mortal);
    EXPECT_EQ(timed.lifetime, 30.0f);
    EXPECT_FALSE(timed.expired);
    EXPECT_EQ(timed.size, 2.0f);
    expectAt(timed.positionRaw(), 1.0f, 2.0f);
    expectAt(timed.velocityRaw(), 0.0f, 0.0f);

    const Point flagged(Vector2(1, 2), false);
    EXPECT_FALSE(flagged.mortal);
    EXPECT_EQ(flagged.lifetime, 0.0f);
    EXPECT_FALSE(flagged.expired);
    EXPECT_EQ(flagged.size, 2.0f);

    const Line timedLine(Vector2(1, 2), Vector2(3, 4), 30.0f);
    EXPECT_TRUE(timedLine.mortal);
    EXPECT_EQ(timedLine.lifetime, 30.0f);
    expectAt(timedLine.positionRaw(), 1.0f, 2.0f);
    expectAt(timedLine.end, 3.0f, 4.0f);

    const Line flaggedLine(Vector2(1, 2), Vector2(3, 4), true);
    EXPECT_TRUE(flaggedLine.mortal);
    EXPECT_EQ(flaggedLine.lifetime, 0.0f);
    EXPECT_FALSE(flaggedLine.expired);

    const WindParticle wind(Vector2(5, 6), 12.0f);
    EXPECT_TRUE(wind.mortal);
    EXPECT_EQ(wind.lifetime, 12.0f);
    EXPECT_EQ(wind.size, 2.0f);
}

TEST(Particles, LifetimeRunsOutAndTheParticleFreezes)
{
    Point point(Vector2(0, 0), 25.0f);
    point.velocity = Vector2(1.0f, 2.0f);

    point.update(10.0f);
    EXPECT_FALSE(point.expired);
    EXPECT_EQ(point.lifetime, 15.0f);
    expectAt(point.positionRaw(), 10.0f, 20.0f);

    point.update(10.0f);
    EXPECT_FALSE(point.expired);
    EXPECT_EQ(point.lifetime, 5.0f);

    // Expires in the third step and still moves in it.
    point.update(10.0f);
    EXPECT_TRUE(point.expired);
    EXPECT_EQ(point.lifetime, -5.0f);
    expectAt(point.positionRaw(), 30.0f, 60.0f);

    for (int i = 0; i < 3; ++i)
        point.update(10.0f);
    EXPECT_TRUE(point.expired);
    EXPECT_EQ(point.lifetime, -5.0f);
    expectAt(point.positionRaw(), 30.0f, 60.0f);

    // A lifetime of exactly one step runs out in that step.
    Line line(Vector2(0, 0), Vector2(1, 1), 10.0f);
    line.update(10.0f);
    EXPECT_TRUE(line.expired);
    EXPECT_EQ(line.lifetime, 0.0f);

    // A mortal particle made with the flag has nothing left to live.
    Point flagged(Vector2(0, 0), true);
    flagged.update(10.0f);
    EXPECT_TRUE(flagged.expired);
}

TEST(Particles, ImmortalParticleNeverExpires)
{
    Line line(Vector2(0, 0), Vector2(1, 1), false);
    line.velocity = Vector2(0.5f, 0.0f);
    for (int i = 0; i < 1000; ++i)
        line.update(10.0f);
    EXPECT_FALSE(line.expired);
    EXPECT_EQ(line.lifetime, 0.0f);
    expectAt(line.positionRaw(), 5000.0f, 0.0f);
}

TEST(Particles, WindParticleStepsLikeAnyParticle)
{
    WindParticle wind(Vector2(3, 4), 35.0f);
    Point point(Vector2(3, 4), 35.0f);
    wind.velocity = point.velocity = Vector2(-1.0f, 0.25f);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        wind.update(10.0f);
        point.update(10.0f);
        EXPECT_EQ(wind.expired, point.expired);
        EXPECT_EQ(wind.lifetime, point.lifetime);
        expectAt(wind.positionRaw(), point.positionRaw().x, point.positionRaw().y);
    }
    EXPECT_TRUE(wind.expired);
    EXPECT_EQ(wind.lifetime, -5.0f);
}
