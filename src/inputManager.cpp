#include "inputManager.h"

#include <cstring>

#include "keys.h"
#include "sdlCompat.h"

namespace input {

namespace {

KeyStatus keyState[SDLK_LAST];
Pointer s_pointer;
bool s_bClosed = false;

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

KeyStatus statusOf(SDLKey const& key)
{
    const int code = codeOf(key);
    return inTable(code) ? keyState[code] : Idle;
}

void setStatus(int code, KeyStatus status)
{
    if (inTable(code))
        keyState[code] = status;
}

}  // namespace

void init()
{
    for (KeyStatus& status : keyState)
        status = Idle;
    s_pointer = Pointer();
    s_bClosed = false;
}

void clean() {}

void update()
{
    for (KeyStatus& status : keyState) {
        if (status == JustReleased)
            status = Idle;
        else if (status == JustPressed)
            status = Held;
    }
    s_bClosed = false;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
        switch (event.type) {
        case SDL_KEYDOWN:
            setStatus(compat::classicKeyCode(codeOf(event.key.keysym.sym)), JustPressed);
            break;
        case SDL_KEYUP:
            setStatus(compat::classicKeyCode(codeOf(event.key.keysym.sym)), JustReleased);
            break;
        case SDL_QUIT:
            // Closing the window acts exactly like releasing the end key.
            setStatus(codeOf(key::end), JustReleased);
            s_bClosed = true;
            break;
        default:
            break;
        }
    }
    const Uint8 buttons = SDL_GetMouseState(&s_pointer.x, &s_pointer.y);
    s_pointer.left = (buttons & SDL_BUTTON(1)) != 0;
    s_pointer.right = (buttons & SDL_BUTTON(3)) != 0;
}

void replay(Pointer const& pointer, std::vector<std::pair<SDLKey, KeyStatus>> const& statuses, bool closed)
{
    for (KeyStatus& status : keyState)
        status = Idle;
    for (auto const& key : statuses)
        setStatus(codeOf(key.first), key.second);
    s_pointer = pointer;
    s_bClosed = closed;
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

KeyStatus status(SDLKey const& key)
{
    return statusOf(key);
}

Pointer pointer()
{
    return s_pointer;
}

bool closed()
{
    return s_bClosed;
}

bool isPressed(SDLKey const& key)
{
    const KeyStatus status = statusOf(key);
    return status == JustPressed || status == Held;
}

bool isReleased(SDLKey const& key)
{
    const KeyStatus status = statusOf(key);
    return status == Idle || status == JustReleased;
}

bool wasPressed(SDLKey const& key)
{
    return statusOf(key) == JustPressed;
}

bool wasReleased(SDLKey const& key)
{
    return statusOf(key) == JustReleased;
}

bool mouseLeft()
{
    return s_pointer.left;
}

bool mouseRight()
{
    return s_pointer.right;
}

Vector2 mousePosition()
{
    return Vector2(static_cast<float>(s_pointer.x), static_cast<float>(s_pointer.y));
}

}  // namespace input
