// The grid pass seen from outside: which bodies get tested against which,
// how often, and in what order, observed through responses and messages.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "body_slots.h"
#include "collisionManager.h"
#include "debug.h"
#include "entity_probes.h"
#include "graphics.h"

using probe::ImpulseBall;

namespace {

const char kPlaceMessage[] = "ENTITY TYPE NOT SUPPORTED BY placeEntity()!!";

// With restitution -1 on both balls of a pair the combined factor is -1, the
// impulse is zero and the pair keeps approaching, so every test of the pair
// shows up as one impulse each.
const float kTransparent = -1.0f;

class Unsupported : public PhysicsEntity {
public:
    using PhysicsEntity::PhysicsEntity;
    void draw() const override {}
};

// A polygon with the box from (minX, minY) to (maxX, maxY), in the next slot.
Polygon* addRectangle(BodySlots& slots, float minX, float minY, float maxX, float maxY)
{
    return slots.add<Polygon>(rectangle(minX, minY, maxX, maxY), cRed);
}

std::string runTicks(std::set<PhysicsEntity*>& bodies, int ticks)
{
    testing::internal::CaptureStdout();
    for (int i = 0; i < ticks; ++i)
        collision::update(bodies);
    return testing::internal::GetCapturedStdout();
}

int countLines(std::string const& output, std::string const& line)
{
    int count = 0;
    for (std::size_t at = output.find(line + "\n"); at != std::string::npos; at = output.find(line + "\n", at + 1))
        ++count;
    return count;
}

// Cells a ball is entered in: it is tested against a transparent probe ball
// whose box covers columns 0..14 and every row (its box starts at x = -16).
int cellsOfBall(Vector2 const& centre, float r)
{
    const Vector2 probeCentre(280, 300);
    ImpulseBall probe(probeCentre, 296, Vector2(0, 0), kTransparent);
    ImpulseBall subject(centre, r, probeCentre - centre, kTransparent);
    std::set<PhysicsEntity*> bodies = {&probe, &subject};
    collision::update(bodies);
    EXPECT_EQ(probe.impulses.size(), subject.impulses.size());
    return static_cast<int>(subject.impulses.size());
}

// Cells a polygon's box is entered in.
int cellsOfPolygon(float minX, float minY, float maxX, float maxY)
{
    BodySlots slots;
    std::set<PhysicsEntity*> bodies = {addRectangle(slots, minX, minY, maxX, maxY)};
    collision::update(bodies);
    int cells = 0;
    for (int column = 0; column < collision::kColumns; ++column)
        for (int row = 0; row < collision::kRows; ++row)
            cells += collision::bodiesIn(column, row);
    return cells;
}

class BroadPhase : public testing::Test {
protected:
    void SetUp() override { debug::init(); }
};

}  // namespace

TEST_F(BroadPhase, EmptyAndSingleBodySetsTestNothing)
{
    BodySlots slots;
    ImpulseBall* a = slots.add<ImpulseBall>(Vector2(100, 100), 20.0f, Vector2(1, 0), kTransparent);
    ImpulseBall* b = slots.add<ImpulseBall>(Vector2(101, 100), 20.0f, Vector2(-1, 0), kTransparent);
    std::set<PhysicsEntity*> crowded = {a, b, addRectangle(slots, 300, 80, 310, 90),
                                        addRectangle(slots, 305, 85, 315, 95)};
    EXPECT_EQ(runTicks(crowded, 1), "");
    EXPECT_EQ(a->impulses.size(), 4u);

    // Nothing of the previous tick's placement survives.
    std::set<PhysicsEntity*> empty;
    EXPECT_EQ(runTicks(empty, 2), "");
    std::set<PhysicsEntity*> single = {a};
    EXPECT_EQ(runTicks(single, 2), "");
    EXPECT_EQ(a->impulses.size(), 4u);
    EXPECT_EQ(b->impulses.size(), 4u);
}

TEST_F(BroadPhase, PairIsTestedInEverySharedCellButRespondsOnce)
{
    // Boxes (80, 80)-(120, 120) and (81, 80)-(121, 120): columns 2..3, rows 2..3.
    ImpulseBall a(Vector2(100, 100), 20, Vector2(1, 0), kTransparent);
    ImpulseBall b(Vector2(101, 100), 20, Vector2(-1, 0), kTransparent);
    std::set<PhysicsEntity*> transparent = {&a, &b};
    collision::update(transparent);
    EXPECT_EQ(a.impulses.size(), 4u);
    EXPECT_EQ(b.impulses.size(), 4u);

    // With real restitution the first test parts them; the three later
    // tests read the new velocities and leave them alone.
    ImpulseBall c(Vector2(100, 100), 20, Vector2(1, 0));
    ImpulseBall d(Vector2(101, 100), 20, Vector2(-1, 0));
    std::set<PhysicsEntity*> solid = {&c, &d};
    collision::update(solid);
    EXPECT_EQ(c.impulses.size(), 1u);
    EXPECT_EQ(d.impulses.size(), 1u);
    EXPECT_NEAR(c.velocity.x, -0.8f, 1e-5f);
    EXPECT_NEAR(d.velocity.x, 0.8f, 1e-5f);
    // Balls are never moved by the grid pass.
    EXPECT_EQ(c.position.x, 100.0f);
    EXPECT_EQ(d.position.x, 101.0f);
}

TEST_F(BroadPhase, BallsAreEnteredInTheCellsTheirBoxCovers)
{
    EXPECT_EQ(cellsOfBall(Vector2(100, 100), 20), 4);
    // Box from x = -10 and from x = -30: both truncate to column 0.
    EXPECT_EQ(cellsOfBall(Vector2(10, 300), 20), 2);
    EXPECT_EQ(cellsOfBall(Vector2(-10, 300), 20), 2);
    // From x = -50 the first column is -1: nowhere, although it overlaps.
    EXPECT_EQ(cellsOfBall(Vector2(-30, 300), 20), 0);
    // A box reaching below y = 592 is clipped to row 15; from y = 593 it
    // starts in the missing row 16.
    EXPECT_EQ(cellsOfBall(Vector2(300, 590), 10), 1);
    EXPECT_EQ(cellsOfBall(Vector2(300, 603), 10), 0);
}

TEST_F(BroadPhase, PolygonsAreEnteredInTheCellsTheirBoxCovers)
{
    EXPECT_EQ(cellsOfPolygon(100, 80, 110, 90), 1);
    EXPECT_EQ(cellsOfPolygon(80, 80, 120, 120), 4);
    EXPECT_EQ(cellsOfPolygon(-39, 100, 300, 110), 8);
    // The first column is -2: nowhere, however far it reaches in.
    EXPECT_EQ(cellsOfPolygon(-100, 100, 300, 110), 0);
    EXPECT_EQ(cellsOfPolygon(100, 595, 110, 620), 0);
    EXPECT_EQ(cellsOfPolygon(100, 580, 110, 610), 1);
    EXPECT_EQ(cellsOfPolygon(780, 100, 900, 110), 1);
    EXPECT_EQ(cellsOfPolygon(700, 100, 900, 110), 3);
    EXPECT_EQ(cellsOfPolygon(800, 100, 900, 110), 0);
}

// Fixed polygons never meet: sharing one cell or three, they print nothing.
TEST_F(BroadPhase, PolygonPairsArePassedOverSilently)
{
    BodySlots slots;
    std::set<PhysicsEntity*> oneCell = {addRectangle(slots, 100, 80, 110, 90), addRectangle(slots, 105, 85, 115, 95)};
    EXPECT_EQ(runTicks(oneCell, 2), "");
    std::set<PhysicsEntity*> threeCells = {addRectangle(slots, 0, 0, 119, 30), addRectangle(slots, 10, 10, 110, 20)};
    EXPECT_EQ(runTicks(threeCells, 2), "");
    EXPECT_EQ(collision::bodiesIn(2, 0), 2);
}

TEST_F(BroadPhase, UnsupportedKindIsLeftOutWithOneMessagePerTick)
{
    BodySlots slots;
    Unsupported* odd = slots.add<Unsupported>(Vector2(100, 100));
    std::set<PhysicsEntity*> bodies = {odd, addRectangle(slots, 0, 0, 799, 591)};
    const std::string output = runTicks(bodies, 2);
    EXPECT_EQ(countLines(output, kPlaceMessage), 2);
    EXPECT_EQ(odd->position.x, 100.0f);
}

TEST_F(BroadPhase, BallAndPolygonRespondAlikeInEitherAddressOrder)
{
    std::vector<Vector2> outcome;
    for (const bool polygonFirst : {true, false}) {
        BodySlots slots;
        const auto addBall = [&slots] { return slots.add<ImpulseBall>(Vector2(150, 95), 10.0f, Vector2(0, 2)); };
        ImpulseBall* ball = polygonFirst ? nullptr : addBall();
        Polygon* square = addRectangle(slots, 100, 100, 200, 200);
        if (polygonFirst)
            ball = addBall();
        ASSERT_EQ(polygonFirst, std::less<PhysicsEntity const*>()(square, ball));
        std::set<PhysicsEntity*> bodies = {square, ball};
        collision::update(bodies);
        // Two shared cells (columns 3..4), one response.
        EXPECT_EQ(ball->impulses.size(), 1u);
        EXPECT_NEAR(ball->velocity.y, -1.6f, 1e-5f);
        EXPECT_NEAR(ball->position.y, 90.0f, 1e-5f);
        EXPECT_EQ(square->position.y, 0.0f);
        outcome.push_back(ball->position);
        outcome.push_back(ball->velocity);
    }
    EXPECT_EQ(outcome[0].x, outcome[2].x);
    EXPECT_EQ(outcome[0].y, outcome[2].y);
    EXPECT_EQ(outcome[1].x, outcome[3].x);
    EXPECT_EQ(outcome[1].y, outcome[3].y);
}

TEST_F(BroadPhase, CellsGoColumnByColumnAndPairsByAddress)
{
    // Three transparent balls in cell (2, 2), approaching pairwise; slot 0
    // holds the middle one, so address order is not position order.
    BodySlots slots;
    ImpulseBall* middle = slots.add<ImpulseBall>(Vector2(100, 92), 5.0f, Vector2(0, 0), kTransparent);
    ImpulseBall* left = slots.add<ImpulseBall>(Vector2(96, 92), 5.0f, Vector2(1, 0), kTransparent);
    ImpulseBall* right = slots.add<ImpulseBall>(Vector2(104, 92), 5.0f, Vector2(-1, 0), kTransparent);
    std::set<PhysicsEntity*> trio = {middle, left, right};
    probe::impulseOrder.clear();
    collision::update(trio);
    // Pairs (2nd, 1st), (3rd, 1st), (3rd, 2nd); the later one first.
    const std::vector<PhysicsEntity const*> pairs = {left, middle, right, middle, right, left};
    EXPECT_EQ(probe::impulseOrder, pairs);

    // One pair in cell (3, 2) only, one in cell (2, 3) only: column 2 comes
    // first although its balls have the higher addresses.
    BodySlots more;
    ImpulseBall* east1 = more.add<ImpulseBall>(Vector2(130, 90), 5.0f, Vector2(1, 0), kTransparent);
    ImpulseBall* east2 = more.add<ImpulseBall>(Vector2(135, 90), 5.0f, Vector2(-1, 0), kTransparent);
    ImpulseBall* south1 = more.add<ImpulseBall>(Vector2(95, 125), 5.0f, Vector2(1, 0), kTransparent);
    ImpulseBall* south2 = more.add<ImpulseBall>(Vector2(100, 125), 5.0f, Vector2(-1, 0), kTransparent);
    std::set<PhysicsEntity*> pairsInTwoCells = {east1, east2, south1, south2};
    probe::impulseOrder.clear();
    collision::update(pairsInTwoCells);
    const std::vector<PhysicsEntity const*> columnMajor = {south2, south1, east2, east1};
    EXPECT_EQ(probe::impulseOrder, columnMajor);
}

TEST(BroadPhaseDeathTest, NullBodyAborts)
{
    Ball ball(Vector2(100, 100), 10, cCyan);
    std::set<PhysicsEntity*> bodies = {&ball, nullptr};
    EXPECT_DEATH(collision::update(bodies), "");
}
