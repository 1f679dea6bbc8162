// Gravity, the gravity well, the screen walls, and the effect manager that
// sums them and steers the well from the keys and the mouse.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <vector>

#include "Ball.h"
#include "Grab.h"
#include "Gravity.h"
#include "GravityWell.h"
#include "Polygon.h"
#include "Screen.h"
#include "config.h"
#include "debug.h"
#include "entityManager.h"
#include "effectManager.h"
#include "float_checks.h"
#include "game.h"
#include "graphics.h"
#include "held_ball.h"
#include "inputManager.h"
#include "key_events.h"
#include "keys.h"

namespace {

using game::kStep;
Ball ballAt(float x, float y, float radius = 20.0f)
{
    return Ball(Vector2(x, y), radius, cWhite);
}

// One tick of the update thread as far as the well is concerned.
void tick()
{
    keyevents::tick();
    effect::handleInput();
}

// The pointer moves on the platform at once; input takes it at the next tick.
void moveMouse(int x, int y)
{
    SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
    int atX = -1;
    int atY = -1;
    SDL_GetMouseState(&atX, &atY);
    ASSERT_EQ(atX, x);
    ASSERT_EQ(atY, y);
}

// A video mode for the event queue and the pointer, and the default effects.
// SDL's own dummy display moves the pointer at once and in this process
// alone: on a shared X display another test's window could take the
// pointer's events.
class MouseWell : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(800, 600, 16, SDL_SWSURFACE), nullptr) << SDL_GetError();
        input::init();
        effect::init();
    }
};

}  // namespace

TEST(Effects, GravityPullsEveryMassAlike)
{
    const Gravity gravity;
    Ball heavy = ballAt(400, 300);
    heavy.mass = 5.0f;
    expectVector(gravity.forceDelta(&heavy, kStep), 0.0f, 0.005f);
    expectVector(gravity.positionDelta(&heavy, kStep), 0.0f, 0.0f);
    expectVector(gravity.velocityDelta(&heavy, kStep), 0.0f, 0.0f);

    // Before init nothing is active; afterwards the walls and gravity are,
    // and a body inside the screen feels gravity alone.
    expectVector(effect::forceDelta(&heavy, kStep), 0.0f, 0.0f);
    effect::init();
    expectVector(effect::forceDelta(&heavy, kStep), 0.0f, 0.005f);
    expectVector(effect::positionDelta(&heavy, kStep), 0.0f, 0.0f);
    expectVector(effect::velocityDelta(&heavy, kStep), 0.0f, 0.0f);

    // The sums read the body and nothing else.
    expectVector(heavy.positionRaw(), 400.0f, 300.0f);
    expectVector(heavy.force, 0.0f, 0.0f);
    effect::clean();
}

// The pull falls off with the distance itself and is cut off close in.
TEST(Effects, WellPullsTowardsItsPosition)
{
    GravityWell well(Vector2(100, 100));
    const Ball below = ballAt(100, 200);
    const Ball further = ballAt(100, 300);
    expectVector(well.forceDelta(&below, kStep), 0.0f, -0.005f);
    expectVector(well.forceDelta(&further, kStep), 0.0f, -0.0025f);
    expectVector(well.positionDelta(&below, kStep), 0.0f, 0.0f);
    expectVector(well.velocityDelta(&below, kStep), 0.0f, 0.0f);

    // Half a pixel away (squared distance 0.25), exactly on the cut-off
    // (squared distance 0.5) and at the well itself: no pull.
    for (Vector2 const& close : {Vector2(100.5f, 100), Vector2(100.5f, 100.5f), Vector2(100, 100)}) {
        const Ball ball = ballAt(close.x, close.y);
        expectVector(well.forceDelta(&ball, kStep), 0.0f, 0.0f);
    }

    // One pixel away: half the mass, towards the well.
    Ball heavy = ballAt(101, 100);
    heavy.mass = 3.0f;
    expectVector(well.forceDelta(&heavy, kStep), -1.5f, 0.0f);

    well.setPosition(Vector2(300, 200));
    expectVector(well.forceDelta(&below, kStep), 0.0025f, 0.0f);
}

TEST(Effects, ScreenWallsPutBodiesBackAndReflectThem)
{
    const Screen screen;

    // Beyond the floor and moving down: put back and reflected.
    Ball ball = ballAt(400, 590);
    ball.velocity = Vector2(0.0f, 0.3f);
    expectVector(screen.positionDelta(&ball, kStep), 0.0f, -10.0f);
    expectVector(screen.velocityDelta(&ball, kStep), 0.0f, -0.54f);
    expectVector(ball.velocityRaw() + screen.velocityDelta(&ball, kStep), 0.0f, -0.24f);

    // Already moving back in: put back only.
    ball.velocity = Vector2(0.0f, -0.3f);
    expectVector(screen.positionDelta(&ball, kStep), 0.0f, -10.0f);
    expectVector(screen.velocityDelta(&ball, kStep), 0.0f, 0.0f);

    // Exactly on the wall line counts as inside.
    ball.position = Vector2(400, 580);
    ball.velocity = Vector2(0.0f, 0.3f);
    expectVector(screen.positionDelta(&ball, kStep), 0.0f, 0.0f);
    expectVector(screen.velocityDelta(&ball, kStep), 0.0f, 0.0f);

    // A polygon is held by its position point alone.
    Polygon polygon({Vector2(500, 500), Vector2(300, 500), Vector2(500, 300)}, cRed);
    polygon.position = Vector2(-5, 700);
    polygon.velocity = Vector2(-1, 2);
    expectVector(screen.positionDelta(&polygon, kStep), 5.0f, -100.0f);
    expectVector(screen.velocityDelta(&polygon, kStep), 1.8f, -3.6f);

    // In a corner both components bounce in the same call.
    Ball corner = ballAt(790, 590);
    corner.velocity = Vector2(0.1f, 0.1f);
    expectVector(screen.positionDelta(&corner, kStep), -10.0f, -10.0f);
    expectVector(screen.velocityDelta(&corner, kStep), -0.18f, -0.18f);

    // Ceiling and left wall, with the body's own restitution.
    Ball topLeft = ballAt(10, 5, 20.0f);
    topLeft.velocity = Vector2(-0.1f, -0.2f);
    topLeft.restitution = 0.5f;
    expectVector(screen.positionDelta(&topLeft, kStep), 10.0f, 15.0f);
    expectVector(screen.velocityDelta(&topLeft, kStep), 0.15f, 0.3f);
    expectVector(screen.forceDelta(&topLeft, kStep), 0.0f, 0.0f);
}

// The well key switches the well on where it was last put: (0, 0) until
// the follow key has moved it.
TEST_F(MouseWell, WellKeySwitchesTheWellWhereItStands)
{
    const Ball ball = ballAt(300, 400);
    moveMouse(300, 200);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.001f);

    keyevents::press(key::well);
    tick();
    // Gravity plus a pull towards the top left corner.
    expectVector(effect::forceDelta(&ball, kStep), -0.0006f, 0.0002f);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), -0.0006f, 0.0002f);

    keyevents::release(key::well);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.001f);
}

TEST_F(MouseWell, FollowMovesTheWellEvenWhileItIsOff)
{
    const Ball ball = ballAt(300, 400);
    moveMouse(300, 200);
    keyevents::press(key::follow);
    tick();
    // Moved but still off.
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.001f);

    keyevents::release(key::follow);
    tick();
    moveMouse(700, 500);
    tick();

    // Switched on where the follow key left it, not at the mouse.
    keyevents::press(key::well);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, -0.0015f);

    // Following while on drags the active well along.
    keyevents::press(key::follow);
    tick();
    moveMouse(300, 500);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.006f);
}

// A press and a release of the well key within one tick leave the well off;
// a release and a new press within one tick leave it on.
TEST_F(MouseWell, QuickWellKeyPressesWithinOneTick)
{
    const Ball ball = ballAt(300, 400);
    keyevents::press(key::well);
    keyevents::release(key::well);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.001f);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), 0.0f, 0.001f);

    keyevents::press(key::well);
    tick();
    keyevents::release(key::well);
    keyevents::press(key::well);
    tick();
    expectVector(effect::forceDelta(&ball, kStep), -0.0006f, 0.0002f);
}

namespace {

// One tick of the running world's input as far as the grab goes: the
// pointer at (x, y), the middle button as given.
void pointer(int x, int y, bool middle)
{
    input::Frame in;
    in.pointer = {x, y, false, false, middle};
    input::apply(in);
    effect::handleInput();
}

// The held ball's energy about the pointer: kinetic and the spring's.
double energyAbout(Ball const& ball, Vector2 const& target)
{
    const Vector2 off = ball.positionRaw() - target;
    const Vector2 v = ball.velocityRaw();
    return 0.5 * ball.mass * (v.x * v.x + v.y * v.y) + 0.5 * Grab::kStiffness * (off.x * off.x + off.y * off.y);
}

// The world as the grab needs it: the effects, and the manager that finds
// the ball under the pointer.
class GrabTest : public testing::Test {
protected:
    void SetUp() override
    {
        debug::init();
        manager::init();
        effect::init();
    }
};

}  // namespace

// Held still, a ball of either mass comes to rest at the pointer, gravity
// and all: it never swings about it and never has more energy than it had
// when it was taken.
TEST_F(GrabTest, BallHeldStillSettlesAtThePointerWithoutSwingOrGain)
{
    for (const float mass : {1.0f, 5.0f})
        for (Vector2 const& start : {Vector2(0, 0), Vector2(0.5f, -0.3f), Vector2(-1.0f, 0.8f)}) {
            Ball ball = ballAt(400, 300);
            ball.mass = mass;
            ball.velocity = start;
            manager::add(&ball);
            const Vector2 target(410, 290);
            pointer(410, 290, false);
            pointer(410, 290, true);
            ASSERT_EQ(effect::held(), &ball);
            const double taken = energyAbout(ball, target);
            int crossings[2] = {0, 0};
            Vector2 last = ball.positionRaw() - target;
            for (int t = 0; t < 300; ++t) {
                pointer(410, 290, true);
                ball.update(kStep);
                const Vector2 off = ball.positionRaw() - target;
                crossings[0] += (off.x > 0) != (last.x > 0) && off.x != 0 && last.x != 0;
                crossings[1] += (off.y > 0) != (last.y > 0) && off.y != 0 && last.y != 0;
                last = off;
                ASSERT_LE(energyAbout(ball, target), taken) << "mass " << mass << ", tick " << t;
            }
            EXPECT_LE(crossings[0], 1) << "mass " << mass;
            EXPECT_LE(crossings[1], 1) << "mass " << mass;
            EXPECT_LT(last.length(), 0.5f) << "mass " << mass;
            EXPECT_LT(ball.velocityRaw().length(), 0.001f) << "mass " << mass;
            manager::remove(&ball);
            EXPECT_EQ(effect::held(), nullptr);
        }
}

// The spring is the same for every ball: behind a moving pointer the heavy
// ball lags further than the light one. Let go, a ball keeps its velocity.
TEST_F(GrabTest, HeavyBallLagsAndALetGoBallKeepsItsVelocity)
{
    float lags[2];
    for (int heavy = 0; heavy < 2; ++heavy) {
        Ball ball = ballAt(200, 300);
        ball.mass = heavy ? 5.0f : 1.0f;
        manager::add(&ball);
        int x = 200;
        pointer(x, 300, true);
        ASSERT_EQ(effect::held(), &ball);
        for (int t = 0; t < 30; ++t) {
            pointer(x += 4, 300, true);
            ball.update(kStep);
        }
        lags[heavy] = static_cast<float>(x) - ball.positionRaw().x;
        EXPECT_GT(lags[heavy], 0.0f);

        const Vector2 thrown = ball.velocityRaw();
        EXPECT_GT(thrown.x, 0.2f);
        pointer(x, 300, false);
        EXPECT_EQ(effect::held(), nullptr);
        ball.update(kStep);
        EXPECT_EQ(ball.velocityRaw().x, thrown.x);
        EXPECT_GT(ball.velocityRaw().y, thrown.y);
        manager::remove(&ball);
    }
    EXPECT_GT(lags[1], 1.5f * lags[0]);

    // Over no ball the press holds nothing.
    pointer(600, 100, false);
    pointer(600, 100, true);
    EXPECT_EQ(effect::held(), nullptr);
}
