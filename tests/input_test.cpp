// Key statuses from real platform events, tick by tick.

#include <gtest/gtest.h>

#include <climits>

#include "inputManager.h"
#include "key_events.h"
#include "keys.h"
#include "reader.h"

using keyevents::closeWindow;
using keyevents::press;
using keyevents::release;

namespace {

using InputTest = keyevents::KeyEvents;

SDLKey code(int value)
{
    return static_cast<SDLKey>(value);
}

// The status of `key` as the four queries report it.
struct Seen {
    bool isPressed;
    bool isReleased;
    bool wasPressed;
    bool wasReleased;
    bool operator==(Seen const& o) const
    {
        return isPressed == o.isPressed && isReleased == o.isReleased && wasPressed == o.wasPressed &&
               wasReleased == o.wasReleased;
    }
};

std::ostream& operator<<(std::ostream& out, Seen const& s)
{
    return out << "{isPressed " << s.isPressed << ", isReleased " << s.isReleased << ", wasPressed "
               << s.wasPressed << ", wasReleased " << s.wasReleased << "}";
}

Seen seen(int key)
{
    return {input::isPressed(code(key)), input::isReleased(code(key)), input::wasPressed(code(key)),
            input::wasReleased(code(key))};
}

const Seen kIdle = {false, true, false, false};
const Seen kJustPressed = {true, false, true, false};
const Seen kHeld = {true, false, false, false};
const Seen kJustReleased = {false, true, false, true};

int keysNotIdle()
{
    int count = 0;
    for (int key = 0; key < SDLK_LAST; ++key)
        if (!(seen(key) == kIdle))
            ++count;
    return count;
}

}  // namespace

TEST_F(InputTest, StatusesFollowTheLastEventOfEachTick)
{
    EXPECT_EQ(keysNotIdle(), 0);

    // Down and up between two ticks: only the release is seen.
    press(SDLK_a);
    release(SDLK_a);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_a), kJustReleased);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_a), kIdle);

    // Up and down again between two ticks while held: only the press is seen.
    press(SDLK_b);
    keyevents::update();
    keyevents::update();
    EXPECT_EQ(seen(SDLK_b), kHeld);
    release(SDLK_b);
    press(SDLK_b);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_b), kJustPressed);
    release(SDLK_b);
    keyevents::update();

    // Held for five ticks, then released.
    press(SDLK_c);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_c), kJustPressed);
    for (int tick = 2; tick <= 5; ++tick) {
        keyevents::update();
        EXPECT_EQ(seen(SDLK_c), kHeld) << "tick " << tick;
    }
    release(SDLK_c);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_c), kJustReleased);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_c), kIdle);

    // Keys are independent, and each tick drains the whole queue.
    press(SDLK_d);
    press(SDLK_e);
    release(SDLK_e);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_d), kJustPressed);
    EXPECT_EQ(seen(SDLK_e), kJustReleased);
    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_d), kHeld);
    EXPECT_EQ(keysNotIdle(), 1);
}

TEST_F(InputTest, ClosingTheWindowReleasesTheEndKeyWhateverItIs)
{
    closeWindow();
    keyevents::update();
    EXPECT_EQ(seen(SDLK_ESCAPE), kJustReleased);
    keyevents::update();

    key::init();
    createKeyMap();
    processLine("end = q");
    ASSERT_EQ(key::end, SDLK_q);
    // Even while the end key is held down.
    press(SDLK_q);
    keyevents::update();
    keyevents::update();
    ASSERT_EQ(seen(SDLK_q), kHeld);
    closeWindow();
    keyevents::update();
    EXPECT_EQ(seen(SDLK_q), kJustReleased);
    EXPECT_EQ(seen(SDLK_ESCAPE), kIdle);
    EXPECT_EQ(keysNotIdle(), 1);
}

TEST_F(InputTest, MouseEventsLeaveTheKeysAlone)
{
    press(SDLK_h);
    keyevents::update();
    SDL_Event event = {};
    // Were a button event read as a key event, this key would change.
    event.key.keysym.sym = SDLK_p;
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.x = SDLK_p;
    event.button.y = 0;
    keyevents::push(event);
    event.type = SDL_MOUSEBUTTONUP;
    event.button.type = SDL_MOUSEBUTTONUP;
    event.button.state = SDL_RELEASED;
    keyevents::push(event);
    event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = SDLK_p;
    event.motion.xrel = SDLK_p;
    keyevents::push(event);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_h), kHeld);
    EXPECT_EQ(keysNotIdle(), 1);
}

TEST_F(InputTest, KeyCodesOutsideTheTableAreIgnored)
{
    for (int bad : {static_cast<int>(SDLK_LAST), SDLK_LAST + 1, INT_MAX, -1, INT_MIN}) {
        press(bad);
        keyevents::update();
        EXPECT_EQ(seen(bad), kIdle) << bad;
        release(bad);
        keyevents::update();
        EXPECT_EQ(seen(bad), kIdle) << bad;
    }
    EXPECT_EQ(keysNotIdle(), 0);
    // The last valid code still works.
    press(SDLK_LAST - 1);
    keyevents::update();
    EXPECT_EQ(seen(SDLK_LAST - 1), kJustPressed);
}
