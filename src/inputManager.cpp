#include "inputManager.h"

#include <cstring>

#include "keys.h"
#include "sdlCompat.h"

namespace input {

namespace {

// What every reader of this tick sees, and the pointer of the tick before,
// for the presses of the buttons.
Tick s_tick;
Pointer s_lastPointer;

bool held(Pointer const& pointer, Button button)
{
    switch (button) {
    case Button::left:
        return pointer.left;
    case Button::right:
        return pointer.right;
    case Button::middle:
        return pointer.middle;
    }
    return false;
}

bool inTable(int code)
{
    return code >= 0 && code < SDLK_LAST;
}

// The platform can deliver any 32-bit code; reading it as the enumeration
// would be undefined outside the enumeration's range, so take its bits.
int codeOf(SDLKey const& key)
{
    static_assert(sizeof(SDLKey) == sizeof(int), "key codes are 32-bit");
    int code;
    std::memcpy(&code, &key, sizeof code);
    return code;
}

void setCode(Tick& tick, int code, KeyStatus status)
{
    if (inTable(code))
        tick.keys[code] = status;
}

}  // namespace

void init()
{
    s_tick = Tick();
    s_lastPointer = Pointer();
}

void clean() {}

Tick fromPlatform()
{
    Tick tick;
    for (int code = 0; code < SDLK_LAST; ++code) {
        const KeyStatus last = s_tick.keys[code];
        tick.keys[code] = last == JustReleased ? Idle : last == JustPressed ? Held : last;
    }
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
            setCode(tick, sdlCompat::classicKeyCode(codeOf(event.key.keysym.sym)), JustPressed);
            break;
        case SDL_KEYUP:
            setCode(tick, sdlCompat::classicKeyCode(codeOf(event.key.keysym.sym)), JustReleased);
            break;
        case SDL_QUIT:
            // Closing the window acts exactly like releasing the end key.
            setStatus(tick, key::end, JustReleased);
            tick.closed = true;
            break;
        default:
            break;
        }
    }
    const Uint8 buttons = SDL_GetMouseState(&tick.pointer.x, &tick.pointer.y);
    tick.pointer.left = (buttons & SDL_BUTTON(1)) != 0;
    tick.pointer.right = (buttons & SDL_BUTTON(3)) != 0;
    tick.pointer.middle = (buttons & SDL_BUTTON(2)) != 0;
    return tick;
}

void apply(Tick const& tick)
{
    s_lastPointer = s_tick.pointer;
    s_tick = tick;
}

void update()
{
    apply(fromPlatform());
}

KeyStatus statusIn(Tick const& tick, SDLKey const& key)
{
    const int code = codeOf(key);
    return inTable(code) ? tick.keys[code] : Idle;
}

void setStatus(Tick& tick, SDLKey const& key, KeyStatus status)
{
    setCode(tick, codeOf(key), status);
}

bool drainStops(SDLKey const& end)
{
    bool stop = false;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0)
        stop = stop || event.type == SDL_QUIT ||
               (event.type == SDL_KEYUP && codeOf(event.key.keysym.sym) == codeOf(end));
    return stop;
}

bool isPressed(SDLKey const& key)
{
    const KeyStatus status = statusIn(s_tick, key);
    return status == JustPressed || status == Held;
}

bool isReleased(SDLKey const& key)
{
    const KeyStatus status = statusIn(s_tick, key);
    return status == Idle || status == JustReleased;
}

bool wasPressed(SDLKey const& key)
{
    return statusIn(s_tick, key) == JustPressed;
}

bool wasReleased(SDLKey const& key)
{
    return statusIn(s_tick, key) == JustReleased;
}

bool mouseLeft()
{
    return s_tick.pointer.left;
}

bool mouseRight()
{
    return s_tick.pointer.right;
}

bool mouseMiddle()
{
    return s_tick.pointer.middle;
}

bool mousePressed(Button button)
{
    return held(s_tick.pointer, button) && !held(s_lastPointer, button);
}

Vector2 mousePosition()
{
    return Vector2(static_cast<float>(s_tick.pointer.x), static_cast<float>(s_tick.pointer.y));
}

}  // namespace input
