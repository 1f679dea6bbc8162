#include "collisionManager.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "debug.h"
#include "mathw.h"

namespace {

// Four floats in one SIMD register (the vector extension of GCC and Clang),
// for testing one ball against four others at once. Each lane computes
// exactly what the scalar code computes for one pair: the same operations in
// the same order, in single precision, without contraction.
typedef float Floats __attribute__((vector_size(16)));
typedef int Ints __attribute__((vector_size(16)));
const std::size_t kLanes = 4;

// A body as the contact tests look at it: its box and, for a ball, its
// centre, radius, velocity, mass (and 1 / mass) and restitution. The grid
// pass keeps such copies of the bodies it placed, so that pairs are settled
// without touching them.
struct Body {
    float minX;
    float minY;
    float maxX;
    float maxY;
    float x;
    float y;
    float radius;
    float vx;
    float vy;
    float mass;
    float inverseMass;
    float restitution;
    bool ball;
    // Of class Ball itself, whose impulses are PhysicsEntity's.
    bool plain;
};

// The same for kLanes balls, one per lane.
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

// What a response may change: a ball's position, and so its box, and its
// velocity. Field by field, as it runs after every response.
void renewMotion(Body& body, Ball const* ball)
{
    Vector2 const& p = ball->position;
    const float r = body.radius;
    body.minX = p.x - r;
    body.minY = p.y - r;
    body.maxX = p.x + r;
    body.maxY = p.y + r;
    body.x = p.x;
    body.y = p.y;
    body.vx = ball->velocity.x;
    body.vy = ball->velocity.y;
}

Body bodyOf(Ball const* ball)
{
    Body body;
    body.radius = ball->radius;
    body.mass = ball->mass;
    body.inverseMass = 1.0f / ball->mass;
    body.restitution = ball->restitution;
    body.ball = true;
    body.plain = isExactly<Ball>(*ball);
    renewMotion(body, ball);
    return body;
}

// Polygons are never moved by a response.
Body bodyOf(Polygon const* polygon)
{
    Vector2 const& min = polygon->bindingMin;
    Vector2 const& max = polygon->bindingMax;
    return {min.x, min.y, max.x, max.y, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, false, false};
}

// Both responses begin by rejecting the pair when their boxes are apart
// (boxes that merely touch are not). For a body and a Lanes: lane by lane.
template <typename A, typename B>
auto apart(A const& a, B const& b)
{
    return (a.minX > b.maxX) | (b.minX > a.maxX) | (a.minY > b.maxY) | (b.minY > a.maxY);
}

// The quantities of a ball-ball contact: d = pA - pB, which is also the
// normal, its square d·d, the sum of the radii and (vA - vB)·d, computed as
// Vector2's operations compute them.
template <typename F>
struct Contact {
    F dx;
    F dy;
    F squared;
    F reach;
    F approach;
};

template <typename A, typename B>
auto contactOf(A const& a, B const& b)
{
    Contact<decltype(a.x - b.x)> c;
    c.dx = a.x - b.x;
    c.dy = a.y - b.y;
    c.squared = c.dx * c.dx + c.dy * c.dy;
    c.reach = a.radius + b.radius;
    c.approach = (a.vx - b.vx) * c.dx + (a.vy - b.vy) * c.dy;
    return c;
}

// Whether the ball-ball response acts: the boxes meet, the centres are
// strictly nearer than the sum of the radii, and the balls strictly approach.
template <typename A, typename B, typename F>
auto ballsMeet(A const& a, B const& b, Contact<F> const& c)
{
    return (apart(a, b) == 0) & (c.squared < c.reach * c.reach) & (c.approach < 0.0f);
}

// The ball-ball response to a contact that ballsMeet found on the balls'
// current state: impulses share·d along the normal d, with the mean
// restitution.
struct Shares {
    float a;
    float b;
};

Shares sharesOf(Body const& bodyA, Body const& bodyB, Contact<float> const& c)
{
    const float e = (bodyA.restitution + bodyB.restitution) * 0.5f;
    const float j = -(1.0f + e) * c.approach / (c.squared * (bodyA.inverseMass + bodyB.inverseMass));
    return {j / bodyA.mass, -j / bodyB.mass};
}

// PhysicsEntity's impulse, which adds to the velocity and ignores the
// contact point: the same additions, without the calls and the point.
void addImpulse(float& vx, float& vy, float share, Contact<float> const& c)
{
    vx += share * c.dx;
    vy += share * c.dy;
}

// The ball-ball response: plain balls take the impulses directly, others
// through applyImpulse at the contact point. Returns the shares applied.
Shares pushApart(Ball* a, Ball* b, Body const& bodyA, Body const& bodyB, Contact<float> const& c)
{
    const Shares shares = sharesOf(bodyA, bodyB, c);
    if (bodyA.plain && bodyB.plain) {
        addImpulse(a->velocity.x, a->velocity.y, shares.a, c);
        addImpulse(b->velocity.x, b->velocity.y, shares.b, c);
        return shares;
    }
    const float offsetX = bodyA.radius * c.dx / c.reach;
    const float offsetY = bodyA.radius * c.dy / c.reach;
    const CollisionInfo info(Vector2(bodyA.x - offsetX, bodyA.y - offsetY), Vector2(c.dx, c.dy));
    a->applyImpulse(Vector2(shares.a * info.normal.x, shares.a * info.normal.y), info.point);
    b->applyImpulse(Vector2(shares.b * info.normal.x, shares.b * info.normal.y), info.point);
    return shares;
}

}  // namespace

namespace collision {

namespace {

const int kColumns = 20;
const int kRows = 16;
const float kCellWidth = 40.0f;
const float kCellHeight = 37.0f;

// Parallel to `placed`: each body as it is now. A response changes a ball's
// position and velocity only, and those are renewed after every response the
// ball takes part in.
std::vector<Body> s_bodies;

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

}  // namespace

// The bodies the last update entered in at least one cell, in the order of
// the entity set; the cells hold indices into it, so each cell lists its
// bodies in ascending address order.
std::vector<PhysicsEntity*> placed;
// Column first, row second. Cleared every tick; they keep their capacity.
std::vector<std::uint32_t> divisions[kColumns][kRows];

namespace {

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
        return ::bodyOf(static_cast<Ball const*>(entity));
    return ::bodyOf(static_cast<Polygon const*>(entity));
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

// The same for a polygon and a ball.
void respondPolygon(std::uint32_t polygon, std::uint32_t ball)
{
    applyCollision(static_cast<Polygon*>(placed[polygon]), static_cast<Ball*>(placed[ball]));
    renewMotion(s_bodies[ball], static_cast<Ball*>(placed[ball]));
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
    } else if (bodyA.ball || bodyB.ball) {
        if (!apart(bodyA, bodyB)) {
            if (bodyB.ball)
                respondPolygon(a, b);
            else
                respondPolygon(b, a);
        }
    } else {
        DPF(0, "ENTITY TYPE NOT SUPPORTED BY applyCollision()!!");
    }
}

// Pairs in the order (2nd, 1st), (3rd, 1st), (3rd, 2nd), (4th, 1st), ...
void testCell(std::vector<std::uint32_t> const& cell)
{
    for (std::size_t i = 1; i < cell.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            testPair(cell[i], cell[j]);
}

// The lanes of a mask that are set, as bits, the first lane lowest.
unsigned laneBits(Ints mask)
{
    return (mask[0] & 1u) | (mask[1] & 2u) | (mask[2] & 4u) | (mask[3] & 8u);
}

// The same for a cell of balls only, each ball against kLanes earlier ones
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

bool allBalls(std::vector<std::uint32_t> const& cell)
{
    return std::all_of(cell.begin(), cell.end(), [](std::uint32_t body) { return s_bodies[body].ball; });
}

template <typename Iterator>
void updateAll(Iterator first, Iterator last)
{
    for (auto& column : divisions)
        for (auto& cell : column)
            cell.clear();
    placed.clear();
    s_bodies.clear();
    for (; first != last; ++first)
        placeEntity(*first);
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

}  // namespace collision

void applyCollision(Ball* a, Ball* b)
{
    const Body bodyA = bodyOf(a);
    const Body bodyB = bodyOf(b);
    const Contact<float> contact = contactOf(bodyA, bodyB);
    if (ballsMeet(bodyA, bodyB, contact))
        pushApart(a, b, bodyA, bodyB, contact);
}

void applyCollision(Polygon* polygon, Ball* ball)
{
    DASSERT(polygon != nullptr);
    DASSERT(ball != nullptr);
    if (apart(bodyOf(ball), bodyOf(polygon)))
        return;
    const Vector2 p = ball->positionRaw();
    const float r = ball->radius;
    const Vector2 v = ball->velocityRaw();
    std::vector<Vector2> const& q = polygon->vertices;
    const std::size_t n = q.size();
    if (n == 0)
        return;
    Vector2 sum(0.0f, 0.0f);
    int count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Vector2 const& from = q[i];
        Vector2 const& to = q[(i + 1) % n];
        const Vector2 d = mathw::vectorToLine(p, from.x, from.y, to.x, to.y);
        if (d.dot(d) <= r * r && d.dot(v) > 0.0f) {
            sum += d;
            ++count;
        }
    }
    if (count == 0)
        return;
    const Vector2 avg = sum / static_cast<float>(count);
    CollisionInfo info;
    info.point = p + avg;
    info.normal = p - info.point;
    Vector2 const& normal = info.normal;
    const float j = -(1.0f + ball->restitution) * (v.dot(normal)) / normal.dot(normal);
    ball->applyImpulse(normal * j);
    ball->applyNudge(info.point + (normal / normal.length()) * r - ball->positionRaw());
}
