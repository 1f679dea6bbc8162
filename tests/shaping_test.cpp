// Shaping the world in the game: the hull an obstacle is made of, drawing and
// removing obstacles through the state stack, what placing one does to the
// balls under it, and a held ball that leaves the world. Input is handed to
// the game as the values a tick takes.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Ball.h"
#include "CreatingPolygon.h"
#include "Gravity.h"
#include "Polygon.h"
#include "collisionManager.h"
#include "config.h"
#include "debug.h"
#include "effectManager.h"
#include "entityCreator.h"
#include "entityManager.h"
#include "game.h"
#include "graphics.h"
#include "held_ball.h"
#include "inputManager.h"
#include "keys.h"
#include "session.h"
#include "shapePoints.h"
#include "world.h"

using polygon::Pixel;

namespace {

using game::kStep;

std::vector<std::pair<int, int>> pairsOf(std::vector<Pixel> const& points)
{
    std::vector<std::pair<int, int>> pairs;
    for (Pixel const& p : points)
        pairs.emplace_back(p.x, p.y);
    return pairs;
}

// The game as the update thread drives it, one tick per call, from input
// values: a key is pressed for one tick, the pointer and its buttons stay
// as last set.
class Shaping : public testing::Test {
protected:
    void SetUp() override
    {
        debug::init();
        game::init();
        world::build();
        input::init();
    }
    void TearDown() override
    {
        game::clean();
        debug::clean();
    }

    void tick()
    {
        session::step(in);
        for (input::KeyStatus& status : in.keys)
            status = input::Idle;
    }
    void tap(SDLKey key)
    {
        input::setStatus(in, key, input::JustPressed);
        tick();
    }
    void at(int x, int y)
    {
        in.pointer.x = x;
        in.pointer.y = y;
    }
    // A press and release of a button, a tick each.
    void click(bool input::Pointer::*button)
    {
        in.pointer.*button = true;
        tick();
        in.pointer.*button = false;
        tick();
    }
    // Lines on standard output while `run` runs.
    template <typename Run>
    std::string said(Run run)
    {
        testing::internal::CaptureStdout();
        run();
        return testing::internal::GetCapturedStdout();
    }

    static std::vector<Polygon const*> polygons()
    {
        std::vector<Polygon const*> found;
        for (PhysicsEntity const* body : collision::placed)
            if (body->kind() == Entity::Kind::polygon)
                found.push_back(static_cast<Polygon const*>(body));
        return found;
    }

    input::Frame in;
};

}  // namespace

TEST(ObstacleHull, TheConvexHullOfWindowPointsWithAtMostSixteenCorners)
{
    using polygon::hull;
    // Inner points, repeats and points on an edge are no corners.
    EXPECT_EQ(pairsOf(hull({{550, 150}, {650, 250}, {600, 200}, {650, 150}, {550, 250}, {650, 150}, {600, 150}})),
              (std::vector<std::pair<int, int>>{{550, 150}, {650, 150}, {650, 250}, {550, 250}}));
    // On one line: the two ends; too few for an obstacle.
    EXPECT_EQ(hull({{0, 0}, {10, 10}, {20, 20}, {5, 5}}).size(), 2u);

    // A thousand points round a circle: sixteen of its corners, still convex,
    // the largest shape such corners make.
    std::vector<Pixel> circle;
    for (int i = 0; i < 1000; ++i)
        circle.push_back({400 + static_cast<int>(200 * std::cos(i * 0.00628318)),
                          300 + static_cast<int>(200 * std::sin(i * 0.00628318))});
    const std::vector<Pixel> cut = hull(circle);
    ASSERT_EQ(cut.size(), 16u);
    // Every corner turns the same way, none on a line.
    for (std::size_t i = 0; i < cut.size(); ++i)
        EXPECT_GT(polygon::cross<long>(cut[i], cut[(i + 1) % cut.size()], cut[(i + 2) % cut.size()]), 0) << i;
}

TEST_F(Shaping, DrawingHoldsTheWorldStillAndMakesAnOrangeObstacle)
{
    tick();
    const std::uint64_t before = manager::worldHash();
    tap(key::shape);
    EXPECT_TRUE(CreatingPolygon::drawing());
    // Points where the left button goes down, one a press; one out of the
    // window, clamped to its edge. The world stands still and no ball comes.
    for (auto [x, y] : {std::pair{550, 150}, {650, 150}, {650, 250}, {600, 200}}) {
        at(x, y);
        click(&input::Pointer::left);
    }
    at(500, 900);
    click(&input::Pointer::left);
    EXPECT_EQ(manager::worldHash(), before);
    EXPECT_EQ(creator::ballCount(), 58);
    EXPECT_EQ(polygon::hull(shapePoints::copy()).size(), 4u);

    tap(key::shape);
    EXPECT_FALSE(CreatingPolygon::drawing());
    tick();
    EXPECT_NE(manager::worldHash(), before);
    const std::vector<Polygon const*> made = polygons();
    ASSERT_EQ(made.size(), 2u);
    Polygon const* obstacle = made[0]->colour == cOrange ? made[0] : made[1];
    EXPECT_EQ(obstacle->colour, cOrange);
    EXPECT_EQ(obstacle->vertices.size(), 4u);
    EXPECT_TRUE(obstacle->contains(Vector2(500, 600)));
    EXPECT_TRUE(obstacle->contains(Vector2(600, 151)));
    EXPECT_FALSE(obstacle->contains(Vector2(600, 599)));
    EXPECT_TRUE(shapePoints::copy().empty());

    // Drawing again: the right button removes the obstacle under the pointer,
    // the starting triangle as well; nothing placed makes nothing, and says so.
    tap(key::shape);
    at(560, 300);
    click(&input::Pointer::right);
    at(480, 480);
    click(&input::Pointer::right);
    at(700, 100);
    click(&input::Pointer::right);
    EXPECT_NE(said([&] { tap(key::shape); }).find("shape: nothing made"), std::string::npos);
    tick();
    EXPECT_TRUE(polygons().empty());
}

// While paused, the shape key is refused with a line and the middle button
// takes no ball; a ball held when the pause came stays held, and still.
TEST_F(Shaping, PausedWorldRefusesTheShapeKeyAndTheGrabAndPausesOverDrawing)
{
    tap(key::pause);
    EXPECT_NE(said([&] { tap(key::shape); }).find("shape: the world is paused; resume it first"),
              std::string::npos);
    EXPECT_FALSE(CreatingPolygon::drawing());
    at(150, 50);
    in.pointer.middle = true;
    tick();
    EXPECT_EQ(effect::held(), nullptr);
    in.pointer.middle = false;
    tap(key::pause);
    in.pointer.middle = true;
    tick();
    ASSERT_NE(effect::held(), nullptr);
    tap(key::pause);
    const Vector2 held = effect::held()->positionRaw();
    at(400, 400);
    tick();
    tick();
    ASSERT_NE(effect::held(), nullptr);
    EXPECT_EQ(effect::held()->positionRaw().y, held.y);
    // Let go while paused: the world sees it from its first running tick
    // after the one that resumes, which passes it no input.
    in.pointer.middle = false;
    tap(key::pause);
    tick();
    EXPECT_EQ(effect::held(), nullptr);

    // Paused over drawing: no points, and the shape key waits for the world.
    tap(key::shape);
    tap(key::pause);
    at(100, 100);
    click(&input::Pointer::left);
    EXPECT_NE(said([&] { tap(key::shape); }).find("resume it first"), std::string::npos);
    EXPECT_TRUE(CreatingPolygon::drawing());
    tap(key::pause);
    for (auto [x, y] : {std::pair{100, 100}, {200, 100}, {150, 50}}) {
        at(x, y);
        click(&input::Pointer::left);
    }
    tap(key::shape);
    tick();
    EXPECT_EQ(polygons().size(), 2u);
    // The world runs again once drawing ends.
    const std::uint64_t made = manager::worldHash();
    tick();
    EXPECT_NE(manager::worldHash(), made);
}

// Placed over a pile, an obstacle takes the balls whose centres it holds and
// flings none of the others: in the tick after, no ball is faster than it
// was (the pile is stilled first) plus what gravity adds, and no centre gets
// inside it later.
TEST_F(Shaping, AnObstacleOverBallsTakesThoseInsideAndFlingsNone)
{
    for (int t = 0; t < 150; ++t)
        creator::addBall(Vector2(static_cast<float>(300 + (t * 37) % 200), static_cast<float>(400 + (t * 11) % 150)),
                         10.0f, cCyan);
    for (int t = 0; t < 300; ++t)
        tick();
    for (PhysicsEntity* body : collision::placed)
        body->velocity = Vector2(0, 0);
    const int balls = creator::ballCount();

    Polygon* obstacle =
        creator::addObstacle({Vector2(320, 480), Vector2(480, 480), Vector2(480, 560), Vector2(320, 560)});
    ASSERT_NE(obstacle, nullptr);
    EXPECT_LT(creator::ballCount(), balls);
    for (int t = 0; t < 100; ++t) {
        tick();
        for (PhysicsEntity const* body : collision::placed) {
            if (body->kind() != Entity::Kind::ball)
                continue;
            ASSERT_FALSE(obstacle->contains(body->positionRaw())) << "tick " << t;
            if (t == 0) {
                EXPECT_LE(body->velocityRaw().length(), forceGravity * kStep / 2);
            }
        }
    }
}

// A held ball that leaves the world is let go at once, whichever way it
// leaves: the right button, a reset, an obstacle drawn over it.
TEST_F(Shaping, AHeldBallThatLeavesTheWorldIsLetGo)
{
    // The right button takes the oldest mouse ball in the tick the middle one
    // goes down over it: the next ball under the pointer is held, and goes
    // the tick after.
    at(200, 200);
    in.pointer.middle = true;
    in.pointer.right = true;
    tick();
    ASSERT_NE(effect::held(), nullptr);
    tick();
    EXPECT_EQ(effect::held(), nullptr);
    in.pointer = input::Pointer();
    tick();

    const auto holdGrey = [this] {
        at(150, 50);
        in.pointer.middle = false;
        tick();
        in.pointer.middle = true;
        tick();
        ASSERT_NE(effect::held(), nullptr);
        EXPECT_EQ(static_cast<Ball const*>(effect::held())->colour, cGrey);
    };
    tap(key::reset);
    holdGrey();
    tap(key::reset);
    EXPECT_EQ(effect::held(), nullptr);
    for (int t = 0; t < 5; ++t)
        tick();

    tap(key::reset);
    holdGrey();
    const Vector2 grey = effect::held()->positionRaw();
    tap(key::shape);
    for (auto [dx, dy] : {std::pair{-30, -30}, {30, -30}, {30, 30}, {-30, 30}}) {
        at(static_cast<int>(grey.x) + dx, static_cast<int>(grey.y) + dy);
        click(&input::Pointer::left);
    }
    tap(key::shape);
    EXPECT_EQ(effect::held(), nullptr);
    for (int t = 0; t < 5; ++t)
        tick();
}

// An obstacle breaking a polygon's rules is refused with a line, whoever asks
// for it; so is one more than the world holds.
TEST_F(Shaping, ObstaclesKeepThePolygonRules)
{
    const std::vector<Vector2> bowTie = {Vector2(100, 100), Vector2(200, 200), Vector2(200, 100), Vector2(100, 200)};
    const std::string refused = said([&] { EXPECT_EQ(creator::addObstacle(bowTie), nullptr); });
    EXPECT_NE(refused.find("shape: refused: the polygon is not convex"), std::string::npos);
    // The starting triangle and 63 more.
    for (std::size_t i = 1; i < polygon::kMaxInWorld; ++i) {
        const float x = static_cast<float>(10 * i);
        ASSERT_NE(creator::addObstacle({Vector2(x, 590), Vector2(x + 5, 590), Vector2(x, 595)}), nullptr) << i;
    }
    EXPECT_NE(said([&] { EXPECT_EQ(creator::addObstacle({Vector2(0, 0), Vector2(5, 0), Vector2(0, 5)}), nullptr); })
                  .find("the world holds 64 obstacles"),
              std::string::npos);
}
