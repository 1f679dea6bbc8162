#include "entityCreator.h"

#include <algorithm>
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
    scene::Scene world;
    const auto add = [&world](PhysicsEntity const* entity, bool ball) {
        scene::Body body;
        body.ball = ball;
        body.position = entity->position;
        body.velocity = entity->velocity;
        body.slot = entityArena::slotOf(entity);
        if (ball) {
            Ball const* b = static_cast<Ball const*>(entity);
            body.colour = b->colour;
            body.radius = b->radius;
            body.mass = b->mass;
        } else {
            Polygon const* p = static_cast<Polygon const*>(entity);
            body.colour = p->colour;
            body.corners = p->vertices;
        }
        world.bodies.push_back(body);
    };
    for (std::queue<Ball*> balls = s_startBalls; !balls.empty(); balls.pop()) {
        add(balls.front(), true);
        world.bodies.back().start = true;
    }
    std::size_t place = 0;
    for (std::queue<Ball*> balls = s_mouseBalls; !balls.empty(); balls.pop()) {
        add(balls.front(), true);
        world.bodies.back().queue = place++;
    }
    for (Polygon const* obstacle : s_obstacles)
        add(obstacle, false);
    std::sort(world.bodies.begin(), world.bodies.end(),
              [](scene::Body const& a, scene::Body const& b) { return a.slot < b.slot; });
    world.free = entityArena::freeSlots();
    return world;
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

void removeAllBalls()
{
    removeAllBalls(s_mouseBalls);
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
