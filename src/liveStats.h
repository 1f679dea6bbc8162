#pragma once

#include <string>
#include <vector>

// The figures a person watches while the world runs: the update thread
// records them, the draw thread shows them in the window caption and the
// overlay.
namespace liveStats {

// Update thread, after each tick, with the time the world step took.
void endTick(int stepMicro);
// Update thread, after each tick: how many ticks back rewinding has taken
// the world (0 when it runs forwards).
void setTicksBack(long ticks);
// Update thread, with each once-a-second rate report.
void report(int ups, int fps);

// Draw thread: the caption of the latest report, e.g. "ballpit: 3214 balls,
// 100 ups, 60 fps, step 1.21 ms (max 2.03)", with the time scale when it is
// not 1, "paused" while paused and how far back the world stands while
// rewound, e.g. "rewind -3.40 s". False, `caption` unchanged, until there is
// a report not yet taken.
bool newCaption(std::string& caption);
// Draw thread: the overlay's lines, the latest report's figures and those of
// the last world step.
std::vector<std::string> overlayLines();
// Draw thread: how many bodies each grid cell held in the last world step.
int cellBodies(int column, int row);

}  // namespace liveStats
