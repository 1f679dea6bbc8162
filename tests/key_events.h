#pragma once

// Real platform events for the input and control-flag tests: a window, then
// key and close events pushed onto the queue the update thread drains.

#include <SDL.h>
#include <gtest/gtest.h>

#include "config.h"
#include "graphics.h"
#include "inputManager.h"

namespace keyevents {

inline void push(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
}

// `code` is an int so that codes outside the key table can be pushed too.
inline void pushKey(Uint8 type, int code)
{
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(code);
    push(event);
}

inline void press(int code)
{
    pushKey(SDL_KEYDOWN, code);
}

inline void release(int code)
{
    pushKey(SDL_KEYUP, code);
}

inline void closeWindow()
{
    SDL_Event event = {};
    event.type = SDL_QUIT;
    push(event);
}

// The platform's input made this tick's, as a live tick begins.
inline void update()
{
    input::apply(input::fromPlatform());
}

// A tick of the update thread as far as the control flags go: the events
// read, then the flags refreshed. The modules that read the flags come after.
inline void tick()
{
    update();
    cfg::handleInput();
}

// The window the events belong to; input starts with every key up.
class KeyEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        graphics::init();
        // Whatever the window manager said while the window opened.
        SDL_Event event;
        while (SDL_PollEvent(&event) > 0) {
        }
        input::init();
    }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace keyevents
