// The control flags, tick by tick, from real key and close events.

#include <gtest/gtest.h>

#include <filesystem>

#include "config.h"
#include "inputManager.h"
#include "key_events.h"
#include "keyfile_support.h"
#include "keys.h"
#include "reader.h"

using keyevents::closeWindow;
using keyevents::press;
using keyevents::release;
using keyevents::tick;

namespace {

using ControlFlagsTest = keyevents::KeyEvents;

void bind(const char* line)
{
    key::init();
    createKeyMap();
    processLine(line);
}

}  // namespace

TEST(ControlFlags, InitRegistersTheBindingsAndReadsTheKeyFile)
{
    keyfile::Sandbox sandbox;
    sandbox.write("pause = k\nwell = Tab\n");
    cfg::init();
    EXPECT_EQ(key::sdlMap.size(), key::kBindings.size());
    EXPECT_EQ(key::pause, SDLK_k);
    EXPECT_EQ(key::well, SDLK_TAB);
    EXPECT_EQ(key::end, SDLK_ESCAPE);

    std::filesystem::remove(sandbox.keyFile());
    EXPECT_EXIT(cfg::init(), ::testing::ExitedWithCode(1), "Unable to open file configs/keys\\.cfg\\.");
}

TEST_F(ControlFlagsTest, PauseTogglesOncePerPress)
{
    EXPECT_FALSE(cfg::paused());
    press(SDLK_p);
    tick();
    EXPECT_TRUE(cfg::paused());
    for (int held = 0; held < 5; ++held) {
        tick();
        EXPECT_TRUE(cfg::paused());
    }
    release(SDLK_p);
    tick();
    EXPECT_TRUE(cfg::paused());
    press(SDLK_p);
    tick();
    EXPECT_FALSE(cfg::paused());
    release(SDLK_p);
    tick();
    EXPECT_FALSE(cfg::paused());

    // A press and release between two ticks is never seen as a press.
    press(SDLK_p);
    release(SDLK_p);
    tick();
    EXPECT_FALSE(cfg::paused());
    // Reading does not reset a flag.
    press(SDLK_p);
    tick();
    EXPECT_TRUE(cfg::paused());
    EXPECT_TRUE(cfg::paused());
}

TEST_F(ControlFlagsTest, EndActsOnReleaseOrClose)
{
    press(SDLK_ESCAPE);
    tick();
    EXPECT_FALSE(cfg::endGame());
    tick();
    EXPECT_FALSE(cfg::endGame());
    release(SDLK_ESCAPE);
    tick();
    EXPECT_TRUE(cfg::endGame());
    tick();
    EXPECT_FALSE(cfg::endGame());

    // A close request ends the game whatever key "end" is on.
    bind("end = q");
    closeWindow();
    tick();
    EXPECT_TRUE(cfg::endGame());
    tick();
    EXPECT_FALSE(cfg::endGame());
    release(SDLK_ESCAPE);
    tick();
    EXPECT_FALSE(cfg::endGame());
}

TEST_F(ControlFlagsTest, WellSwitchesOnEdgesAndFollowsWhileHeld)
{
    press(SDLK_f);
    tick();
    EXPECT_TRUE(cfg::mouseWellFollow());
    EXPECT_FALSE(cfg::mouseWellOn());

    press(SDLK_SPACE);
    tick();
    EXPECT_TRUE(cfg::mouseWellFollow());
    EXPECT_TRUE(cfg::mouseWellOn());
    EXPECT_FALSE(cfg::mouseWellOff());
    tick();
    EXPECT_TRUE(cfg::mouseWellFollow());
    EXPECT_FALSE(cfg::mouseWellOn());
    EXPECT_FALSE(cfg::mouseWellOff());

    release(SDLK_f);
    tick();
    EXPECT_FALSE(cfg::mouseWellFollow());
    EXPECT_FALSE(cfg::mouseWellOn());
    EXPECT_FALSE(cfg::mouseWellOff());

    release(SDLK_SPACE);
    tick();
    EXPECT_FALSE(cfg::mouseWellOn());
    EXPECT_TRUE(cfg::mouseWellOff());
    tick();
    EXPECT_FALSE(cfg::mouseWellOff());

    // Down and up between two ticks: the well is switched off, never on.
    press(SDLK_SPACE);
    release(SDLK_SPACE);
    tick();
    EXPECT_FALSE(cfg::mouseWellOn());
    EXPECT_TRUE(cfg::mouseWellOff());

    EXPECT_FALSE(cfg::paused());
    EXPECT_FALSE(cfg::endGame());
}

TEST_F(ControlFlagsTest, BindingsSharingAKeyActIndependently)
{
    bind("well = p");
    bind("end = f");
    ASSERT_EQ(key::pause, SDLK_p);
    ASSERT_EQ(key::follow, SDLK_f);

    press(SDLK_p);
    press(SDLK_f);
    tick();
    EXPECT_TRUE(cfg::paused());
    EXPECT_TRUE(cfg::mouseWellOn());
    EXPECT_TRUE(cfg::mouseWellFollow());
    EXPECT_FALSE(cfg::endGame());

    release(SDLK_p);
    release(SDLK_f);
    tick();
    EXPECT_TRUE(cfg::paused());
    EXPECT_TRUE(cfg::mouseWellOff());
    EXPECT_FALSE(cfg::mouseWellFollow());
    EXPECT_TRUE(cfg::endGame());
}

// Step and reset last one tick per press; the time scale moves one step per
// press and stops at either end; grid and overlay toggle per press.
TEST_F(ControlFlagsTest, ToolsActOncePerPress)
{
    const auto tap = [](SDLKey key) {
        press(key);
        tick();
        release(key);
        tick();
    };
    press(SDLK_n);
    press(SDLK_r);
    tick();
    EXPECT_TRUE(cfg::stepWorld());
    EXPECT_TRUE(cfg::resetWorld());
    tick();
    EXPECT_FALSE(cfg::stepWorld());
    EXPECT_FALSE(cfg::resetWorld());

    EXPECT_EQ(cfg::timeScale(), 1.0f);
    for (float expected : {0.5f, 0.25f, 0.125f, 0.125f}) {
        tap(SDLK_MINUS);
        EXPECT_EQ(cfg::timeScale(), expected);
    }
    for (float expected : {0.25f, 0.5f, 1.0f, 2.0f, 2.0f}) {
        tap(SDLK_EQUALS);
        EXPECT_EQ(cfg::timeScale(), expected);
    }

    EXPECT_FALSE(cfg::showGrid());
    EXPECT_FALSE(cfg::showHud());
    press(SDLK_g);
    for (int held = 0; held < 3; ++held)
        tick();
    EXPECT_TRUE(cfg::showGrid());
    release(SDLK_g);
    tap(SDLK_h);
    tap(SDLK_g);
    EXPECT_FALSE(cfg::showGrid());
    EXPECT_TRUE(cfg::showHud());
}
