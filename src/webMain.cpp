// The page's driver: the desktop's options and headless runs as they are,
// and, for a live run, one loop on the browser's animation frames in place
// of the desktop's update and draw threads. Each frame takes the events in,
// runs as many 10 ms ticks as the time passed asks (a handful at most, so a
// slow machine slows the world rather than the tab), then draws one frame.
#include <GL/gl.h>
#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

#include "commandLine.h"
#include "config.h"
#include "debug.h"
#include "game.h"
#include "graphics.h"
#include "gridView.h"
#include "liveStats.h"
#include "recordSink.h"
#include "scene.h"
#include "session.h"
#include "startup.h"
#include "webShapes.h"

namespace {

const double kTickMillis = 10.0;
// Past this many ticks in one frame, or this long spent on them, the world
// falls behind real time: a frame slow to show (a software renderer) still
// gets its ticks, slow ticks leave time for frames.
const int kMaxTicksPerFrame = 10;
const double kMaxTickingMillis = 12.0;
const double kReportPeriodMillis = 1000.0;

double s_dLastFrame = 0.0;
double s_dTickBank = 0.0;
double s_dLastReport = 0.0;
int s_iUpdateCount = 0;
int s_iDrawCount = 0;
// The latest report's caption, shown until the next.
std::string s_caption;
// A recorded run's records: the page has no files to write but downloads.
recording::MemorySink s_recorded;

// The statistics the desktop shows in its caption and overlay go to the
// page's own text; an empty text hides it.
void showStats(std::string const& caption, std::string const& overlay)
{
    EM_ASM({ if (Module.onStats) Module.onStats(UTF8ToString($0), UTF8ToString($1)); }, caption.c_str(),
           overlay.c_str());
}

void report(double now)
{
    if (now - s_dLastReport < kReportPeriodMillis)
        return;
    s_dLastReport = now;
    if (cfg::showFPS())
        std::cout << "fps:\t" << s_iDrawCount << std::endl;
    if (cfg::showUPS())
        std::cout << "ups:\t" << s_iUpdateCount << std::endl;
    liveStats::report(s_iUpdateCount, s_iDrawCount);
    s_iUpdateCount = 0;
    s_iDrawCount = 0;
}

void drawFrame()
{
    // The browser shows what a frame callback drew as it returns: the
    // buffers are cleared first, not after the frame as on the desktop.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    game::draw();
    webShapes::flush();
    if (cfg::showGrid())
        gridView::draw();
    liveStats::newCaption(s_caption);
    std::string overlay;
    if (cfg::showHud())
        for (std::string const& line : liveStats::overlayLines())
            overlay += line + "\n";
    showStats(s_caption, overlay);
    ++s_iDrawCount;
}

void end()
{
    emscripten_cancel_main_loop();
    const int status = session::stop();
    graphics::clean();
    debug::clean();
    EM_ASM({ if (Module.onEnd) Module.onEnd($0); }, status);
}

// Whether the run goes on after this frame's ticks.
bool runTicks(double now)
{
    // The time scale sets how many ticks a stretch of real time asks for.
    s_dTickBank += (now - s_dLastFrame) * cfg::timeScale();
    s_dLastFrame = now;
    for (int ticks = 0; s_dTickBank >= kTickMillis && ticks < kMaxTicksPerFrame &&
                        emscripten_get_now() - now < kMaxTickingMillis;
         ++ticks) {
        s_dTickBank -= kTickMillis;
        const session::Ran ran = session::tick();
        if (ran == session::Ran::none)
            return false;
        ++s_iUpdateCount;
        if (ran == session::Ran::lastTick)
            return false;
    }
    // Time the frame could not catch up with is let go.
    s_dTickBank = std::min(s_dTickBank, kTickMillis);
    return true;
}

void frame()
{
    const double now = emscripten_get_now();
    if (!runTicks(now)) {
        end();
        return;
    }
    report(now);
    drawFrame();
}

void startLive()
{
    debug::init();
    graphics::init();
    session::start(true);
    s_dLastFrame = s_dLastReport = emscripten_get_now();
    // Returns at once: the browser calls frame() on every animation frame.
    emscripten_set_main_loop(frame, 0, 0);
}

// The run is recorded into memory; the name is the download's.
bool openRecording(std::string const&, std::string&)
{
    session::recordInto(s_recorded);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    // The page's key file is the default one, built in.
    if (const std::optional<int> status = startup::openOrRunHeadless(commandLine::parse(argc, argv), openRecording))
        return *status;
    startLive();
    return 0;
}

// The page's save and share buttons: the world as a scene's text, kept until
// the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* ballpitWorldScene()
{
    static std::string s_text;
    s_text = scene::write(session::worldScene());
    return s_text.c_str();
}
