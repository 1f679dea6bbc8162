#include "inputManager.h"

#include <cstring>
#include <vector>

#include "keys.h"
#include "sdlCompat.h"

namespace input {

namespace {

// What every reader of this tick sees, and the pointer of the tick before,
// for the presses of the buttons.
Frame s_frame;
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

void setCode(Frame& frame, int code, KeyStatus status)
{
    if (inTable(code))
        frame.keys[code] = status;
}

// Every event waiting in the platform's queue, in order.
std::vector<SDL_Event> drain()
{
    std::vector<SDL_Event> events;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0)
        events.push_back(event);
    return events;
}

}  // namespace

void init()
{
    s_frame = Frame();
    s_lastPointer = Pointer();
}

void clean() {}

Frame decode(Frame const& last, std::vector<SDL_Event> const& events, SDLKey const& end)
{
    Frame frame;
    frame.pointer = last.pointer;
    for (int code = 0; code < SDLK_LAST; ++code) {
        const KeyStatus was = last.keys[code];
        frame.keys[code] = was == JustReleased ? Idle : was == JustPressed ? Held : was;
    }
    for (SDL_Event const& event : events) {
        switch (event.type) {
        case SDL_KEYDOWN:
            setCode(frame, sdlCompat::classicKeyCode(codeOf(event.key.keysym.sym)), JustPressed);
            break;
        case SDL_KEYUP:
            setCode(frame, sdlCompat::classicKeyCode(codeOf(event.key.keysym.sym)), JustReleased);
            break;
        case SDL_QUIT:
            setStatus(frame, end, JustReleased);
            frame.closed = true;
            break;
        default:
            break;
        }
    }
    return frame;
}

Frame fromPlatform()
{
    Frame frame = decode(s_frame, drain(), key::end);
    const Uint8 buttons = SDL_GetMouseState(&frame.pointer.x, &frame.pointer.y);
    frame.pointer.left = (buttons & SDL_BUTTON(1)) != 0;
    frame.pointer.right = (buttons & SDL_BUTTON(3)) != 0;
    frame.pointer.middle = (buttons & SDL_BUTTON(2)) != 0;
    return frame;
}

void apply(Frame const& frame)
{
    s_lastPointer = s_frame.pointer;
    s_frame = frame;
}

Applied applied()
{
    return {s_frame, s_lastPointer};
}

void setApplied(Applied const& applied)
{
    s_frame = applied.frame;
    s_lastPointer = applied.before;
}

KeyStatus statusIn(Frame const& frame, SDLKey const& key)
{
    const int code = codeOf(key);
    return inTable(code) ? frame.keys[code] : Idle;
}

void setStatus(Frame& frame, SDLKey const& key, KeyStatus status)
{
    setCode(frame, codeOf(key), status);
}

bool drainStops(SDLKey const& end)
{
    const Frame stops = decode(Frame(), drain(), end);
    return stops.closed || statusIn(stops, end) == JustReleased;
}

bool isPressed(SDLKey const& key)
{
    const KeyStatus status = statusIn(s_frame, key);
    return status == JustPressed || status == Held;
}

bool isReleased(SDLKey const& key)
{
    const KeyStatus status = statusIn(s_frame, key);
    return status == Idle || status == JustReleased;
}

bool wasPressed(SDLKey const& key)
{
    return statusIn(s_frame, key) == JustPressed;
}

bool wasReleased(SDLKey const& key)
{
    return statusIn(s_frame, key) == JustReleased;
}

bool mouseLeft()
{
    return s_frame.pointer.left;
}

bool mouseRight()
{
    return s_frame.pointer.right;
}

bool mouseMiddle()
{
    return s_frame.pointer.middle;
}

bool mousePressed(Button button)
{
    return held(s_frame.pointer, button) && !held(s_lastPointer, button);
}

Vector2 mousePosition()
{
    return Vector2(static_cast<float>(s_frame.pointer.x), static_cast<float>(s_frame.pointer.y));
}

}  // namespace input
