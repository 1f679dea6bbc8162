#pragma once

#include <string>
#include <vector>

// The figures a person watches while the world runs: the update thread
// records them, the draw thread shows them in the window caption and the
// overlay.
namespace liveStats {

// Update thread, after each tick, with the time the world step took.
void endTick(int stepMicro);
// Update thread, with each once-a-second rate report.
void report(int ups, int fps);

// Draw thread: the caption of the latest report, e.g. "ballpit: 3214 balls,
// 100 ups, 60 fps, step 1.21 ms (max 2.03)", with the time scale when it is
// not 1 and "paused" while paused. False, `caption` unchanged, until there is
// a report not yet taken.
bool newCaption(std::string& caption);
// Draw thread: the overlay's lines, the latest report's figures and those of
// the last world step.
std::vector<std::string> overlayLines();
// Draw thread: how many bodies each grid cell held in the last world step.
int cellBodies(int column, int row);

}  // namespace liveStats
