#pragma once

#include <vector>

// The game module the two worker threads drive: it installs the effects and
// the states, keeps the stack of active states, and tears the world down.
// The world's bodies are built by the world module once init has run.
namespace game {

// The fixed time step of every tick, in milliseconds.
const float kStep = 10.0f;

void init();
void handleInput();
void update(float dt);
// Draw thread, once per frame.
void draw();
void clean();

// The stack of active states, bottom first, each as its place among the
// states init makes; between ticks no push or pop waits. Rewinding takes it
// back with the world.
std::vector<int> stateStack();
void setStateStack(std::vector<int> const& stack);

}  // namespace game
