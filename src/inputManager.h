#pragma once

#include <SDL.h>

#include <vector>

#include "Vector2.h"

// Per-tick key statuses from the platform's event queue, and the mouse as the
// tick took it.
namespace input {

enum KeyStatus { Idle = 0, JustPressed = 1, Held = 2, JustReleased = 3 };

// The mouse as a tick sees it, taken once per tick, so that every reader in
// the tick sees the same.
struct Pointer {
    int x = 0;
    int y = 0;
    bool left = false;
    bool right = false;
    bool middle = false;
};

enum class Button { left, right, middle };

// One tick's input, whole: the pointer, whether the window was closed, and
// the status of every key, so of every binding. Live play takes it from the
// platform and a replay from its file; either way apply() makes it what the
// tick reads, and a recording records it.
struct Frame {
    Pointer pointer;
    bool closed = false;
    KeyStatus keys[SDLK_LAST] = {};
};

void init();
void clean();

// The key statuses that follow `last` given the platform's `events` in their
// order: last's aged (a press is held, a release idle), then each key event
// applied, its code taken as the classic library gives it (sdlCompat.h).
// Closing the window acts exactly like releasing `end`, whatever key that
// is. The pointer is last's: the platform's events do not move it.
Frame decode(Frame const& last, std::vector<SDL_Event> const& events, SDLKey const& end);
// Live play: this tick's input from the platform. The event queue drained
// and decoded after the tick applied last, and the mouse taken.
Frame fromPlatform();
// Makes `frame` the input every reader of this tick sees: the one writer of
// the input state.
void apply(Frame const& frame);

// What the input keeps between ticks: the tick applied last and the pointer
// of the one before, which the presses of the buttons are found against.
// Rewinding puts it aside while it runs ticks of the history again.
struct Applied {
    Frame frame;
    Pointer before;
};
Applied applied();
void setApplied(Applied const& applied);

// A key's status in a tick's input; Idle for codes outside the key table.
KeyStatus statusIn(Frame const& frame, SDLKey const& key);
// Sets it; codes outside the key table change nothing.
void setStatus(Frame& frame, SDLKey const& key, KeyStatus status);

// While replaying: takes the live events without applying them; true when,
// decoded as live play decodes them, they release `end` or close the window,
// the ways a person stops a replay.
bool drainStops(SDLKey const& end);

// Key codes outside the table are never down and never change.
bool isPressed(SDLKey const& key);
// Not called by the program: for tests and benchmarks.
bool isReleased(SDLKey const& key);
bool wasPressed(SDLKey const& key);
bool wasReleased(SDLKey const& key);

// This tick's pointer.
bool mouseLeft();
bool mouseRight();
bool mouseMiddle();
Vector2 mousePosition();
// The button went down in this tick: it was up in the tick applied before.
bool mousePressed(Button button);

}  // namespace input
