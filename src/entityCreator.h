#pragma once

#include <vector>

class Ball;
class Polygon;
class Vector2;

namespace scene {
struct Scene;
}

// Makes and owns every entity of the world, in the world's arena: the
// starting scene, the balls of the mouse buttons, and their deletion at the
// end.
namespace creator {

// Builds the starting scene, or the scene given to setScene.
void init();
void handleInput();
void clean();
// Deletes every entity and builds the scene init built again.
void reset();

// The scene init builds from now on, instead of the starting one: its
// bodies in their slots of the world's arena, which must be empty when init
// runs. Null for the starting scene again.
void setScene(scene::Scene const* scene);
// The bodies of the world as a scene: each in its slot and role, in the
// order of the slots, and the arena's free slots. No well.
scene::Scene capture();
// Balls in the world: the starting ones and the mouse's.
int ballCount();

// The most fixed polygons the world holds, the starting triangle included.
const int kMaxObstacles = 64;

// An obstacle with the given corners (a convex polygon in ring order), in a
// colour of its own. The balls whose centres it holds leave the world; the
// others meet it by the contact rule. Null, with a line on standard output
// saying why, when there are fewer than three corners, the world holds
// kMaxObstacles polygons already, or the arena is full.
Polygon* addObstacle(std::vector<Vector2> const& corners);
// Removes and deletes the polygon drawn at the point, the starting triangle
// too; false when there is none.
bool removeObstacleAt(Vector2 const& point);

// Makes a ball, queues it as the newest mouse ball and hands it to the
// manager; null, and nothing made, when the arena is full.
Ball* addBall(Vector2 const& position, float radius, float const* colour);
// Removes and deletes the oldest mouse ball; the queue must not be empty.
void removeBall();
// Not called by the program: for tests and benchmarks.
void removeAllBalls();

}  // namespace creator
