#include "collisionManager.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "debug.h"

namespace collision {

std::vector<PhysicsEntity*> placed;
std::vector<std::uint32_t> divisions[kColumns][kRows];

namespace {

using contact::Body;
using contact::Contact;
using contact::Shares;
using contact::addImpulse;
using contact::apart;
using contact::ballsMeet;
using contact::contactOf;
using contact::pushApart;
using contact::renewMotion;

// The responses of the last update that changed a body.
int s_iContacts = 0;

// Parallel to `placed`: each body as it is now. A response changes a ball's
// position and velocity only, and those are renewed after every response the
// ball takes part in.
std::vector<Body> s_bodies;

// Truncation toward zero: a coordinate just left of or above the screen maps
// to the first cell.
int columnOf(float x)
{
    return static_cast<int>(x / kCellWidth);
}

int rowOf(float y)
{
    return static_cast<int>(y / kCellHeight);
}

// Balls and polygons only.
Body bodyOf(PhysicsEntity const* entity)
{
    if (entity->kind() == Entity::Kind::ball)
        return contact::bodyOf(static_cast<Ball const*>(entity));
    return contact::bodyOf(static_cast<Polygon const*>(entity));
}

void placeEntity(PhysicsEntity* entity)
{
    DASSERT(entity != nullptr);
    if (entity->kind() != Entity::Kind::ball && entity->kind() != Entity::Kind::polygon) {
        DPF(0, "ENTITY TYPE NOT SUPPORTED BY placeEntity()!!");
        return;
    }
    const Body body = bodyOf(entity);
    const int firstCol = columnOf(body.minX);
    const int lastCol = columnOf(body.maxX);
    if (lastCol < firstCol || firstCol < 0 || firstCol >= kColumns)
        return;
    const int firstRow = rowOf(body.minY);
    const int lastRow = rowOf(body.maxY);
    if (lastRow < firstRow || firstRow < 0 || firstRow >= kRows)
        return;
    const auto index = static_cast<std::uint32_t>(placed.size());
    placed.push_back(entity);
    s_bodies.push_back(body);
    for (int col = firstCol; col <= lastCol && col < kColumns; ++col)
        for (int row = firstRow; row <= lastRow && row < kRows; ++row)
            divisions[col][row].push_back(index);
}

// The balls a and b, a the later in address order, with a response due.
void respondBalls(std::uint32_t a, std::uint32_t b)
{
    Body& bodyA = s_bodies[a];
    Body& bodyB = s_bodies[b];
    Ball* const ballA = static_cast<Ball*>(placed[a]);
    Ball* const ballB = static_cast<Ball*>(placed[b]);
    const Contact<float> c = contactOf(bodyA, bodyB);
    const Shares shares = pushApart(ballA, ballB, bodyA, bodyB, c);
    ++s_iContacts;
    if (bodyA.plain && bodyB.plain) {
        // The copies of plain balls take the same additions as the balls, and
        // nothing else changes: no need to read the balls back.
        addImpulse(bodyA.vx, bodyA.vy, shares.a, c);
        addImpulse(bodyB.vx, bodyB.vy, shares.b, c);
        return;
    }
    renewMotion(bodyA, ballA);
    renewMotion(bodyB, ballB);
}

// The polygon and the ball, with a response maybe due.
void respondPolygon(std::uint32_t polygon, std::uint32_t ball)
{
    Body& body = s_bodies[ball];
    const float vx = body.vx;
    const float vy = body.vy;
    applyCollision(static_cast<Polygon*>(placed[polygon]), static_cast<Ball*>(placed[ball]));
    renewMotion(body, static_cast<Ball*>(placed[ball]));
    // The response acts on the velocity whenever it acts at all.
    if (body.vx != vx || body.vy != vy)
        ++s_iContacts;
}

// The pair (a, b), a the later in address order. Responses are called only
// where they act; elsewhere they would return at once without any effect.
void testPair(std::uint32_t a, std::uint32_t b)
{
    Body const& bodyA = s_bodies[a];
    Body const& bodyB = s_bodies[b];
    if (bodyA.ball && bodyB.ball) {
        if (ballsMeet(bodyA, bodyB, contactOf(bodyA, bodyB)))
            respondBalls(a, b);
    } else if ((bodyA.ball || bodyB.ball) && !apart(bodyA, bodyB)) {
        if (bodyB.ball)
            respondPolygon(a, b);
        else
            respondPolygon(b, a);
    }
    // Two polygons: both are fixed, so they never meet. Obstacles drawn side
    // by side share cells every tick, and must not print a line each time.
}

// Pairs in the order (2nd, 1st), (3rd, 1st), (3rd, 2nd), (4th, 1st), ...
void testCell(std::vector<std::uint32_t> const& cell)
{
    for (std::size_t i = 1; i < cell.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            testPair(cell[i], cell[j]);
}

// ---------------------------------------------------------------------------
// Four lanes: in a cell of balls only, each ball is tested against four
// others at once, each lane computing what the scalar code computes for one
// pair. Each definition here mirrors a scalar one: Lanes the fields of
// contact::Body that the ball-ball test reads, testBallCell testCell above.

// Four floats in one SIMD register (the vector extension of GCC and Clang).
typedef float Floats __attribute__((vector_size(16)));
typedef int Ints __attribute__((vector_size(16)));
const std::size_t kLanes = 4;

// The test fields of kLanes balls, one ball per lane.
struct Lanes {
    Floats minX;
    Floats minY;
    Floats maxX;
    Floats maxY;
    Floats x;
    Floats y;
    Floats radius;
    Floats vx;
    Floats vy;
};

// The bodies of the cell being tested, field by field, so that kLanes
// consecutive ones load into a Lanes at once. Kept in step with s_bodies.
class CellLanes {
public:
    void assign(std::vector<std::uint32_t> const& cell)
    {
        // Room for a whole Lanes from the last body on; the lanes beyond the
        // cell are never used.
        stride = cell.size() + kLanes - 1;
        fields.resize(9 * stride);
        for (std::size_t slot = 0; slot < cell.size(); ++slot)
            put(slot, s_bodies[cell[slot]]);
    }

    void put(std::size_t slot, Body const& body)
    {
        float* const at = &fields[slot];
        at[0 * stride] = body.minX;
        at[1 * stride] = body.minY;
        at[2 * stride] = body.maxX;
        at[3 * stride] = body.maxY;
        at[4 * stride] = body.x;
        at[5 * stride] = body.y;
        at[6 * stride] = body.radius;
        at[7 * stride] = body.vx;
        at[8 * stride] = body.vy;
    }

    Lanes from(std::size_t slot) const
    {
        float const* const at = &fields[slot];
        return {load(at),
                load(at + stride),
                load(at + 2 * stride),
                load(at + 3 * stride),
                load(at + 4 * stride),
                load(at + 5 * stride),
                load(at + 6 * stride),
                load(at + 7 * stride),
                load(at + 8 * stride)};
    }

private:
    static Floats load(float const* at)
    {
        Floats lanes;
        std::memcpy(&lanes, at, sizeof lanes);
        return lanes;
    }

    std::vector<float> fields;
    std::size_t stride = 0;
};

CellLanes s_lanes;

// The lanes of a mask that are set, as bits, the first lane lowest.
unsigned laneBits(Ints mask)
{
    return (mask[0] & 1u) | (mask[1] & 2u) | (mask[2] & 4u) | (mask[3] & 8u);
}

// testCell for a cell of balls only, each ball against kLanes earlier ones
// at a time. After a response the test goes on with the pair after it, with
// both balls as they are now.
void testBallCell(std::vector<std::uint32_t> const& cell)
{
    s_lanes.assign(cell);
    for (std::size_t i = 1; i < cell.size(); ++i) {
        Body a = s_bodies[cell[i]];
        std::size_t j = 0;
        while (j < i) {
            const Lanes b = s_lanes.from(j);
            const std::size_t lanes = std::min(kLanes, i - j);
            const unsigned meet = laneBits(ballsMeet(a, b, contactOf(a, b))) & ((1u << lanes) - 1u);
            if (meet == 0) {
                j += lanes;
                continue;
            }
            j += static_cast<std::size_t>(__builtin_ctz(meet));
            respondBalls(cell[i], cell[j]);
            a = s_bodies[cell[i]];
            s_lanes.put(i, s_bodies[cell[i]]);
            s_lanes.put(j, s_bodies[cell[j]]);
            ++j;
        }
    }
}

// End of the four lanes.
// ---------------------------------------------------------------------------

bool allBalls(std::vector<std::uint32_t> const& cell)
{
    return std::all_of(cell.begin(), cell.end(), [](std::uint32_t body) { return s_bodies[body].ball; });
}

template <typename Iterator>
void updateAll(Iterator first, Iterator last)
{
    // Pass 1, clear: nothing of the last tick's placement survives.
    for (auto& column : divisions)
        for (auto& cell : column)
            cell.clear();
    placed.clear();
    s_bodies.clear();
    s_iContacts = 0;

    // Pass 2, place: each body, in address order, into the cells its box
    // covers as it is now; a response later in the tick does not move it.
    for (; first != last; ++first)
        placeEntity(*first);

    // Pass 3, pairs: column by column, each column top to bottom, every pair
    // of a cell, reading the bodies as earlier responses left them.
    for (auto const& column : divisions)
        for (auto const& cell : column) {
            if (allBalls(cell))
                testBallCell(cell);
            else
                testCell(cell);
        }
}

}  // namespace

void init() {}

void clean() {}

void update(std::set<PhysicsEntity*>& entities)
{
    updateAll(entities.begin(), entities.end());
}

void update(std::vector<PhysicsEntity*> const& entities)
{
    updateAll(entities.begin(), entities.end());
}

int bodiesIn(int column, int row)
{
    return static_cast<int>(divisions[column][row].size());
}

int contactsResolved()
{
    return s_iContacts;
}

}  // namespace collision
