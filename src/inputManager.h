#pragma once

#include <SDL.h>

#include <utility>
#include <vector>

#include "Vector2.h"

// Per-tick key statuses from the platform's event queue, and the mouse as it
// is now.
namespace input {

enum KeyStatus { Idle = 0, JustPressed = 1, Held = 2, JustReleased = 3 };

// The mouse as a tick sees it, taken once per tick, so that every reader in
// the tick sees the same.
struct Pointer {
    int x = 0;
    int y = 0;
    bool left = false;
    bool right = false;
};

void init();
void clean();
// Ages the statuses, drains the event queue and takes the mouse; once at the
// start of a tick.
void update();

// This tick's input as it was recorded, instead of update(): the pointer,
// the statuses of the given keys (every other key is idle) and whether the
// window was closed.
void replay(Pointer const& pointer, std::vector<std::pair<SDLKey, KeyStatus>> const& statuses, bool closed);
// While replaying: takes the live events without applying them; true when
// they release `end` or close the window, the ways a person stops a replay.
bool drainStops(SDLKey const& end);

KeyStatus status(SDLKey const& key);
Pointer pointer();
// A close request came in this tick.
bool closed();

// Key codes outside the table are never down and never change.
bool isPressed(SDLKey const& key);
// Not called by the program: for tests and benchmarks.
bool isReleased(SDLKey const& key);
bool wasPressed(SDLKey const& key);
bool wasReleased(SDLKey const& key);

// This tick's pointer.
bool mouseLeft();
bool mouseRight();
Vector2 mousePosition();

}  // namespace input
