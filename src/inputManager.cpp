#include "inputManager.h"

#include <cstring>

#include "keys.h"
#include "sdlCompat.h"

namespace input {

namespace {

KeyStatus keyState[SDLK_LAST];

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
            break;
        default:
            break;
        }
    }
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
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(1)) != 0;
}

bool mouseRight()
{
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(3)) != 0;
}

Vector2 mousePosition()
{
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    return Vector2(static_cast<float>(x), static_cast<float>(y));
}

}  // namespace input
