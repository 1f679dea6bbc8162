#pragma once

#include <SDL.h>

#include "Vector2.h"

// Per-tick key statuses from the platform's event queue, and the mouse as it
// is now.
namespace input {

enum KeyStatus { Idle = 0, JustPressed = 1, Held = 2, JustReleased = 3 };

void init();
void clean();
// Ages the statuses and drains the event queue; once at the start of a tick.
void update();

// Key codes outside the table are never down and never change.
bool isPressed(SDLKey const& key);
// Not called by the program: for tests and benchmarks.
bool isReleased(SDLKey const& key);
bool wasPressed(SDLKey const& key);
bool wasReleased(SDLKey const& key);

bool mouseLeft();
bool mouseRight();
Vector2 mousePosition();

}  // namespace input
