#include "entityCreator.h"

#include <algorithm>
#include <optional>
#include <queue>
#include <string>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "config.h"
#include "debug.h"
#include "entityArena.h"
#include "entityManager.h"
#include "graphics.h"
#include "inputManager.h"
#include "obstacleDrawing.h"
#include "scene.h"

namespace creator {

namespace {

const float kStartBallRadius = 20.0f;
const float kStartBallMass = 5.0f;
const float kMouseBallRadius = 10.0f;

std::queue<Ball*> s_startBalls;
std::queue<Ball*> s_mouseBalls;
std::queue<Polygon*> s_startPolys;
// The obstacles a person drew, and a scene's polygons, oldest first.
std::vector<Polygon*> s_obstacles;
// The scene init builds; none for the starting scene.
std::optional<scene::Scene> s_scene;

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

// Drawing ended: the points make an obstacle, or a line says why not.
void makeDrawnObstacle()
{
    const std::vector<Vector2> corners = obstacleDrawing::corners();
    obstacleDrawing::clear();
    if (corners.empty()) {
        DPF(0, "shape: nothing made: an obstacle needs three points that are not on one line");
        return;
    }
    addObstacle(corners);
}

// The scene's bodies in their slots, in the roles it gives them.
void build(scene::Scene const& scene)
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
}

struct StartBall {
    float x;
    float y;
    float const* colour;
};

}  // namespace

void init()
{
    if (s_scene) {
        build(*s_scene);
        return;
    }
    const StartBall grid[] = {
        {50.0f, 50.0f, cWhite},    {150.0f, 50.0f, cGrey},    {50.0f, 100.0f, cRed},
        {100.0f, 100.0f, cGreen},  {150.0f, 100.0f, cBlue},   {50.0f, 150.0f, cYellow},
        {100.0f, 150.0f, cMagenta}, {150.0f, 150.0f, cCyan},
    };
    for (StartBall const& start : grid)
        if (Ball* ball = addBall(Vector2(start.x, start.y), kStartBallRadius, start.colour, s_startBalls))
            ball->mass = kStartBallMass;
    for (int i = 200; i != 300; i += 2)
        addBall(Vector2(static_cast<float>(i), static_cast<float>(i)), kMouseBallRadius, cCyan);
    const std::vector<Vector2> triangle = {Vector2(500.0f, 500.0f), Vector2(300.0f, 500.0f),
                                           Vector2(500.0f, 300.0f)};
    if (Polygon* polygon = entityArena::make<Polygon>(triangle, cRed)) {
        s_startPolys.push(polygon);
        manager::add(polygon);
    }
}

void handleInput()
{
    if (cfg::shapeFinished())
        makeDrawnObstacle();
    // While an obstacle is drawn, the buttons place and remove obstacles.
    if (cfg::drawing())
        return;
    if (input::mouseLeft())
        addBall(input::mousePosition(), kMouseBallRadius, cCyan);
    if (input::mouseRight() && !s_mouseBalls.empty())
        removeBall();
}

void clean()
{
    removeAllBalls(s_startBalls);
    removeAllBalls(s_mouseBalls);
    for (; !s_startPolys.empty(); s_startPolys.pop())
        deleteBody(s_startPolys.front());
    for (Polygon* obstacle : s_obstacles)
        deleteBody(obstacle);
    s_obstacles.clear();
}

void reset()
{
    clean();
    init();
}

void setScene(scene::Scene const* scene)
{
    if (scene != nullptr)
        s_scene = *scene;
    else
        s_scene.reset();
}

scene::Scene capture()
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
    for (std::queue<Polygon*> polygons = s_startPolys; !polygons.empty(); polygons.pop())
        add(polygons.front(), false);
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
    if (corners.size() < 3)
        return nullptr;
    if (s_startPolys.size() + s_obstacles.size() >= static_cast<std::size_t>(kMaxObstacles)) {
        const std::string line =
            "shape: refused: the world holds " + std::to_string(kMaxObstacles) + " obstacles, the most it takes";
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
    const auto drawn = std::find(s_obstacles.begin(), s_obstacles.end(), polygon);
    if (drawn != s_obstacles.end()) {
        s_obstacles.erase(drawn);
    } else {
        // The starting triangle, the one polygon of its queue.
        DASSERT(!s_startPolys.empty() && s_startPolys.front() == polygon);
        s_startPolys.pop();
    }
    deleteBody(polygon);
    return true;
}

}  // namespace creator
