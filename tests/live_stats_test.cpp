// The caption a person watches: one per report, with the step's figures, and
// the time scale and the pause only when they apply.

#include <gtest/gtest.h>

#include <string>

#include "config.h"
#include "entityCreator.h"
#include "inputManager.h"
#include "keys.h"
#include "liveStats.h"
#include "scene.h"
#include "world.h"

TEST(LiveStats, OneCaptionPerReportNamingScaleAndPauseWhenSet)
{
    creator::makeBodies(world::startingScene());
    std::string caption;
    EXPECT_FALSE(liveStats::newCaption(caption));
    liveStats::endTick(1000);
    liveStats::endTick(3000);
    liveStats::report(100, 60);
    ASSERT_TRUE(liveStats::newCaption(caption));
    EXPECT_EQ(caption, "ballpit: 58 balls, 100 ups, 60 fps, step 2.00 ms (max 3.00)");
    EXPECT_FALSE(liveStats::newCaption(caption));

    input::Frame in;
    input::setStatus(in, key::pause, input::JustPressed);
    input::setStatus(in, key::slower, input::JustPressed);
    input::apply(in);
    cfg::handleInput();
    liveStats::report(50, 59);
    ASSERT_TRUE(liveStats::newCaption(caption));
    EXPECT_EQ(caption, "ballpit: 58 balls, 50 ups, 59 fps, step 0.00 ms (max 0.00), time scale 0.5, paused");
}
