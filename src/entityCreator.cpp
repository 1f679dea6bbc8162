#include "entityCreator.h"

#include <queue>
#include <vector>

#include "Ball.h"
#include "Polygon.h"
#include "debug.h"
#include "entityArena.h"
#include "entityManager.h"
#include "graphics.h"
#include "inputManager.h"

namespace creator {

namespace {

const float kStartBallRadius = 20.0f;
const float kStartBallMass = 5.0f;
const float kMouseBallRadius = 10.0f;

std::queue<Ball*> s_startBalls;
std::queue<Ball*> s_mouseBalls;
std::queue<Polygon*> s_startPolys;

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
void removeBall(std::queue<Ball*>& queue)
{
    DASSERT(!queue.empty());
    Ball* ball = queue.front();
    manager::remove(ball);
    queue.pop();
    entityArena::destroy(ball);
}

void removeAllBalls(std::queue<Ball*>& queue)
{
    while (!queue.empty())
        removeBall(queue);
}

struct StartBall {
    float x;
    float y;
    float const* colour;
};

}  // namespace

void init()
{
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
    if (input::mouseLeft())
        addBall(input::mousePosition(), kMouseBallRadius, cCyan);
    if (input::mouseRight() && !s_mouseBalls.empty())
        removeBall();
}

void clean()
{
    removeAllBalls(s_startBalls);
    removeAllBalls(s_mouseBalls);
    while (!s_startPolys.empty()) {
        Polygon* polygon = s_startPolys.front();
        manager::remove(polygon);
        s_startPolys.pop();
        entityArena::destroy(polygon);
    }
}

void reset()
{
    clean();
    init();
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

}  // namespace creator
