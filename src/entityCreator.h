#pragma once

#include <cstddef>
#include <vector>

class Ball;
class Polygon;
class Vector2;

namespace scene {
struct Scene;
}

// Makes and owns every body of the world, in the world's arena: a scene's
// bodies, the balls of the mouse buttons, the obstacles, and their deletion.
// The world module builds and captures worlds through it.
namespace creator {

// The radius of the balls the left button adds.
const float kMouseBallRadius = 10.0f;

// The mouse buttons: a ball at the pointer, the oldest mouse ball removed.
void handleInput();
// Deletes every body.
void clean();

// The scene's bodies in their slots of the world's arena, which must be
// empty, in the roles it gives them.
void makeBodies(scene::Scene const& scene);
// The bodies of the world as a scene: each in its slot and role, in the
// order of the slots, and the arena's free slots. No well.
scene::Scene bodies();
// Which body plays which part, by slot, where a scene does not say: the
// starting balls and the polygons, each in the order clean deletes them,
// which decides the slots the starting scene takes after a reset.
struct Order {
    std::vector<std::size_t> startBalls;
    std::vector<std::size_t> obstacles;
};
Order order();
// Deletes every body and makes `world` (as bodies gives it) in its slots,
// in the parts `order` (as order gives it) says: the bodies as they stood
// then, bit for bit, a reset included.
void restore(scene::Scene const& world, Order const& order);

// Balls in the world: the starting ones and the mouse's.
int ballCount();

// An obstacle with the given corners, in a colour of its own. The balls
// whose centres it holds leave the world; the others meet it by the contact
// rule. Null, with a line on standard output saying why, when the corners
// break a polygon's rules (polygon::check), the world holds
// polygon::kMaxInWorld polygons already, or the arena is full.
Polygon* addObstacle(std::vector<Vector2> const& corners);
// Removes and deletes the polygon drawn at the point, the starting triangle
// too; false when there is none.
bool removeObstacleAt(Vector2 const& point);

// Makes a ball, queues it as the newest mouse ball and hands it to the
// manager; null, and nothing made, when the arena is full.
Ball* addBall(Vector2 const& position, float radius, float const* colour);
// Removes and deletes the oldest mouse ball; the queue must not be empty.
void removeBall();

}  // namespace creator
