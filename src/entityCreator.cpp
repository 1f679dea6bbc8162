#include "entityCreator.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <string>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "debug.h"
#include "entityArena.h"
#include "entityManager.h"
#include "graphics.h"
#include "inputManager.h"
#include "scene.h"

namespace creator {

namespace {

// The balls the right button never removes.
std::queue<Ball*> s_startBalls;
std::queue<Ball*> s_mouseBalls;
// Every polygon: a scene's, then those made since, oldest first.
std::vector<Polygon*> s_obstacles;

// Null, and nothing added, once the arena is full.
Ball* addBall(Vector2 const& position, float radius, float const* colour, std::queue<Ball*>& queue)
{
    Ball* ball = entityArena::make<Ball>(position, radius, colour);
    if (ball == nullptr)
        return nullptr;
    queue.push(ball);
    manager::add(ball);
    return ball;
}

// The manager never touches an entity after remove() returns, so it can be
// deleted at once.
template <typename T>
void deleteBody(T* body)
{
    manager::remove(body);
    entityArena::destroy(body);
}

void removeBall(std::queue<Ball*>& queue)
{
    DASSERT(!queue.empty());
    Ball* ball = queue.front();
    queue.pop();
    deleteBody(ball);
}

void removeAllBalls(std::queue<Ball*>& queue)
{
    while (!queue.empty())
        removeBall(queue);
}

// Removes and deletes the balls of `queue` whose centres `polygon` holds;
// the others keep their order.
void removeBallsInside(std::queue<Ball*>& queue, Polygon const& polygon)
{
    std::queue<Ball*> kept;
    for (; !queue.empty(); queue.pop()) {
        Ball* ball = queue.front();
        if (polygon.contains(ball->position))
            deleteBody(ball);
        else
            kept.push(ball);
    }
    queue.swap(kept);
}

// Bodies in slot order (which is address order): the one in `slot`.
template <typename T>
T* inSlot(std::vector<T*> const& bySlot, std::size_t slot)
{
    const auto at = std::lower_bound(bySlot.begin(), bySlot.end(), slot, [](T const* body, std::size_t wanted) {
        return entityArena::slotOf(body) < wanted;
    });
    DASSERT(at != bySlot.end() && entityArena::slotOf(*at) == slot);
    return *at;
}

}  // namespace

void handleInput()
{
    if (input::mouseLeft())
        addBall(input::mousePosition(), kMouseBallRadius, cCyan);
    if (input::mouseRight() && !s_mouseBalls.empty())
        removeBall();
}

void clean()
{
    removeAllBalls(s_startBalls);
    removeAllBalls(s_mouseBalls);
    for (Polygon* obstacle : s_obstacles)
        deleteBody(obstacle);
    s_obstacles.clear();
}

void makeBodies(scene::Scene const& scene)
{
    std::vector<std::size_t> slots;
    std::size_t mouseBalls = 0;
    for (scene::Body const& body : scene.bodies) {
        slots.push_back(body.slot);
        mouseBalls += body.ball && !body.start;
    }
    entityArena::layOut(slots, scene.free);
    std::vector<Ball*> queue(mouseBalls);
    for (scene::Body const& body : scene.bodies) {
        PhysicsEntity* made = nullptr;
        if (body.ball) {
            Ball* ball = entityArena::make<Ball>(body.position, body.radius, body.colour);
            DASSERT(ball != nullptr);
            ball->mass = body.mass;
            if (body.start)
                s_startBalls.push(ball);
            else
                queue[body.queue] = ball;
            made = ball;
        } else {
            Polygon* polygon = entityArena::make<Polygon>(body.corners, body.colour);
            DASSERT(polygon != nullptr);
            polygon->position = body.position;
            s_obstacles.push_back(polygon);
            made = polygon;
        }
        made->velocity = body.velocity;
        manager::add(made);
    }
    for (Ball* ball : queue)
        s_mouseBalls.push(ball);
    DASSERT(s_obstacles.size() <= polygon::kMaxInWorld);
}

scene::Scene bodies()
{
    // Each body with its part, put in slot order (the order of addresses in
    // the arena) before any is written out: rewinding captures the world
    // every few ticks. The parts come mostly in slot order already, which a
    // merge sort takes in its stride.
    struct Part {
        PhysicsEntity const* body;
        bool ball;
        bool start;
        std::size_t queue;
    };
    std::vector<Part> parts;
    parts.reserve(s_startBalls.size() + s_mouseBalls.size() + s_obstacles.size());
    for (std::queue<Ball*> balls = s_startBalls; !balls.empty(); balls.pop())
        parts.push_back({balls.front(), true, true, 0});
    std::size_t place = 0;
    for (std::queue<Ball*> balls = s_mouseBalls; !balls.empty(); balls.pop())
        parts.push_back({balls.front(), true, false, place++});
    for (Polygon const* obstacle : s_obstacles)
        parts.push_back({obstacle, false, false, 0});
    std::stable_sort(parts.begin(), parts.end(), [](Part const& a, Part const& b) {
        return std::less<PhysicsEntity const*>()(a.body, b.body);
    });
    scene::Scene world;
    world.bodies.resize(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Part const& part = parts[i];
        scene::Body& body = world.bodies[i];
        body.ball = part.ball;
        body.start = part.start;
        body.queue = part.queue;
        body.position = part.body->position;
        body.velocity = part.body->velocity;
        body.slot = entityArena::slotOf(part.body);
        if (part.ball) {
            Ball const* ball = static_cast<Ball const*>(part.body);
            body.colour = ball->colour;
            body.radius = ball->radius;
            body.mass = ball->mass;
        } else {
            Polygon const* polygon = static_cast<Polygon const*>(part.body);
            body.colour = polygon->colour;
            body.corners = polygon->vertices;
        }
    }
    world.free = entityArena::freeSlots();
    return world;
}

Order order()
{
    Order order;
    for (std::queue<Ball*> balls = s_startBalls; !balls.empty(); balls.pop())
        order.startBalls.push_back(entityArena::slotOf(balls.front()));
    for (Polygon const* obstacle : s_obstacles)
        order.obstacles.push_back(entityArena::slotOf(obstacle));
    return order;
}

void restore(scene::Scene const& world, Order const& order)
{
    // Settled before and after the deletions, each removal and addition
    // finds nothing pending to cancel.
    manager::settle();
    clean();
    manager::settle();
    makeBodies(world);
    // Made in slot order: each starting ball and polygon goes where `order`
    // puts it.
    std::vector<Ball*> startBalls;
    for (; !s_startBalls.empty(); s_startBalls.pop())
        startBalls.push_back(s_startBalls.front());
    for (std::size_t slot : order.startBalls)
        s_startBalls.push(inSlot(startBalls, slot));
    const std::vector<Polygon*> polygons = std::move(s_obstacles);
    s_obstacles.clear();
    for (std::size_t slot : order.obstacles)
        s_obstacles.push_back(inSlot(polygons, slot));
}

int ballCount()
{
    return static_cast<int>(s_startBalls.size() + s_mouseBalls.size());
}

Ball* addBall(Vector2 const& position, float radius, float const* colour)
{
    return addBall(position, radius, colour, s_mouseBalls);
}

void removeBall()
{
    removeBall(s_mouseBalls);
}

Polygon* addObstacle(std::vector<Vector2> const& corners)
{
    std::string why;
    if (!polygon::check(corners, why)) {
        DPF(0, ("shape: refused: " + why).c_str());
        return nullptr;
    }
    if (s_obstacles.size() >= polygon::kMaxInWorld) {
        const std::string line = "shape: refused: the world holds " + std::to_string(polygon::kMaxInWorld) +
                                 " obstacles, the most it takes";
        DPF(0, line.c_str());
        return nullptr;
    }
    Polygon* obstacle = entityArena::make<Polygon>(corners, cOrange);
    if (obstacle == nullptr) {
        DPF(0, "shape: refused: the world has no room for another body");
        return nullptr;
    }
    removeBallsInside(s_startBalls, *obstacle);
    removeBallsInside(s_mouseBalls, *obstacle);
    s_obstacles.push_back(obstacle);
    manager::add(obstacle);
    return obstacle;
}

bool removeObstacleAt(Vector2 const& point)
{
    PhysicsEntity* body = manager::bodyAt(point);
    if (body == nullptr || body->kind() != Entity::Kind::polygon)
        return false;
    Polygon* polygon = static_cast<Polygon*>(body);
    const auto at = std::find(s_obstacles.begin(), s_obstacles.end(), polygon);
    DASSERT(at != s_obstacles.end());
    s_obstacles.erase(at);
    deleteBody(polygon);
    return true;
}

}  // namespace creator
