#include "collisionManager.h"

#include "Ball.h"
#include "CollisionInfo.h"
#include "Polygon.h"
#include "debug.h"
#include "mathw.h"

namespace collision {

namespace {

const int kColumns = 20;
const int kRows = 16;
const float kCellWidth = 40.0f;
const float kCellHeight = 37.0f;

}  // namespace

// Column first, row second; each cell in ascending pointer order.
std::set<PhysicsEntity*> divisions[kColumns][kRows];

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

bool boxOf(PhysicsEntity* entity, Vector2& min, Vector2& max)
{
    if (Ball* ball = dynamic_cast<Ball*>(entity)) {
        min = Vector2(ball->position.x - ball->radius, ball->position.y - ball->radius);
        max = Vector2(ball->position.x + ball->radius, ball->position.y + ball->radius);
        return true;
    }
    if (Polygon* polygon = dynamic_cast<Polygon*>(entity)) {
        min = polygon->bindingMin;
        max = polygon->bindingMax;
        return true;
    }
    return false;
}

void placeEntity(PhysicsEntity* entity)
{
    DASSERT(entity != nullptr);
    Vector2 min;
    Vector2 max;
    if (!boxOf(entity, min, max)) {
        DPF(0, "ENTITY TYPE NOT SUPPORTED BY placeEntity()!!");
        return;
    }
    const int firstCol = columnOf(min.x);
    const int lastCol = columnOf(max.x);
    if (lastCol < firstCol || firstCol < 0 || firstCol >= kColumns)
        return;
    const int firstRow = rowOf(min.y);
    const int lastRow = rowOf(max.y);
    if (lastRow < firstRow || firstRow < 0 || firstRow >= kRows)
        return;
    for (int col = firstCol; col <= lastCol && col < kColumns; ++col)
        for (int row = firstRow; row <= lastRow && row < kRows; ++row)
            divisions[col][row].insert(entity);
}

void testPair(PhysicsEntity* a, PhysicsEntity* b)
{
    DASSERT(a != nullptr);
    DASSERT(b != nullptr);
    Ball* ballA = dynamic_cast<Ball*>(a);
    Ball* ballB = dynamic_cast<Ball*>(b);
    if (ballA != nullptr && ballB != nullptr) {
        applyCollision(ballA, ballB);
        return;
    }
    Polygon* polygonA = dynamic_cast<Polygon*>(a);
    if (polygonA != nullptr && ballB != nullptr) {
        applyCollision(polygonA, ballB);
        return;
    }
    Polygon* polygonB = dynamic_cast<Polygon*>(b);
    if (polygonB != nullptr && ballA != nullptr) {
        applyCollision(polygonB, ballA);
        return;
    }
    DPF(0, "ENTITY TYPE NOT SUPPORTED BY applyCollision()!!");
}

}  // namespace

void init() {}

void clean() {}

void update(std::set<PhysicsEntity*>& entities)
{
    for (auto& column : divisions)
        for (auto& cell : column)
            cell.clear();
    for (PhysicsEntity* entity : entities)
        placeEntity(entity);
    for (auto& column : divisions)
        for (auto& cell : column)
            for (auto a = cell.begin(); a != cell.end(); ++a)
                for (auto b = cell.begin(); b != a; ++b)
                    testPair(*a, *b);
}

}  // namespace collision

void applyCollision(Ball* a, Ball* b)
{
    Vector2 const& pA = a->positionRaw();
    Vector2 const& pB = b->positionRaw();
    const float rA = a->radius;
    const float rB = b->radius;
    if (pA.x - rA > pB.x + rB || pB.x - rB > pA.x + rA || pA.y - rA > pB.y + rB ||
        pB.y - rB > pA.y + rA)
        return;
    const Vector2 d = pA - pB;
    const float reach = rA + rB;
    if (!(d.dot(d) < reach * reach))
        return;
    const Vector2 relative = a->velocityRaw() - b->velocityRaw();
    if (!(relative.dot(d) < 0.0f))
        return;
    CollisionInfo info;
    info.point = pA - d * rA / reach;
    info.normal = d;
    const float e = (a->restitution + b->restitution) * 0.5f;
    const Vector2 n = info.normal;
    const float j = -(1.0f + e) * (relative.dot(n)) / (n.dot(n) * (1.0f / a->mass + 1.0f / b->mass));
    a->applyImpulse(n * (j / a->mass), info.point);
    b->applyImpulse(n * (-j / b->mass), info.point);
}

void applyCollision(Polygon* polygon, Ball* ball)
{
    DASSERT(polygon != nullptr);
    DASSERT(ball != nullptr);
    const Vector2 p = ball->positionRaw();
    const float r = ball->radius;
    const Vector2 v = ball->velocityRaw();
    if (p.x - r > polygon->bindingMax.x || polygon->bindingMin.x > p.x + r ||
        p.y - r > polygon->bindingMax.y || polygon->bindingMin.y > p.y + r)
        return;
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
