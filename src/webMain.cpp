// The page's driver: the desktop's options and headless runs as they are,
// and, for a live run, one loop on the browser's animation frames in place
// of the desktop's update and draw threads. Each frame takes the events in,
// runs as many 10 ms ticks as the time passed asks (a handful at most, so a
// slow machine slows the world rather than the tab), then draws one frame.
// A recorded run keeps its records in memory and hands them to the page at
// its end.
#include <GL/gl.h>
#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "commandLine.h"
#include "config.h"
#include "debug.h"
#include "entityManager.h"
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
bool s_bRecording = false;
// Between the live run's start and its end, which must come once.
bool s_bLive = false;
// Ticks the run has taken: a recording's length.
long s_iTicksRun = 0;

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

// A recorded run's figures on standard output and its bytes to the page,
// which offers them as a download.
void handOverRecording(std::uint64_t finalHash)
{
    char line[80];
    std::snprintf(line, sizeof line, "recorded: %ld ticks, final hash %016llx", s_iTicksRun,
                  static_cast<unsigned long long>(finalHash));
    std::cout << line << std::endl;
    recording::Bytes const& bytes = s_recorded.bytes();
    EM_ASM({ if (Module.onRecorded) Module.onRecorded(HEAPU8.slice($0, $0 + $1)); }, bytes.data(), bytes.size());
}

// The run's end, from its last tick or from the page; a recording gets its
// end record here (session::stop), after the ticks it holds.
void end()
{
    if (!s_bLive)
        return;
    s_bLive = false;
    emscripten_cancel_main_loop();
    const std::uint64_t finalHash = manager::worldHash();
    const int status = session::stop();
    if (s_bRecording)
        handOverRecording(finalHash);
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
        ++s_iTicksRun;
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
    s_bLive = true;
    s_dLastFrame = s_dLastReport = emscripten_get_now();
    // Returns at once: the browser calls frame() on every animation frame.
    emscripten_set_main_loop(frame, 0, 0);
}

// The run is recorded into memory, handed to the page at its end.
bool openRecording(std::string const&, std::string&)
{
    session::recordInto(s_recorded);
    s_bRecording = true;
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

// The page's stop button: the run ends as the end key ends it.
extern "C" EMSCRIPTEN_KEEPALIVE void ballpitEnd()
{
    end();
}
