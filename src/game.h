#pragma once

// The game module the two worker threads drive: it builds and tears down the
// world and keeps the stack of active states.
namespace game {

// The fixed time step of every tick, in milliseconds.
const float kStep = 10.0f;

void init();
void handleInput();
void update(float dt);
// Draw thread, once per frame.
void draw();
void clean();

}  // namespace game
