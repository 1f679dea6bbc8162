#pragma once

class Ball;
class Vector2;

// Makes and owns every entity of the world, in the world's arena: the
// starting scene, the balls of the mouse buttons, and their deletion at the
// end.
namespace creator {

void init();
void handleInput();
void clean();
// Deletes every entity and builds the starting scene again.
void reset();
// Balls in the world: the starting ones and the mouse's.
int ballCount();

// Makes a ball, queues it as the newest mouse ball and hands it to the
// manager; null, and nothing made, when the arena is full.
Ball* addBall(Vector2 const& position, float radius, float const* colour);
// Removes and deletes the oldest mouse ball; the queue must not be empty.
void removeBall();
// Not called by the program: for tests and benchmarks.
void removeAllBalls();

}  // namespace creator
