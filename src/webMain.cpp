// The page's driver: the desktop's options and headless runs as they are,
// and, for a live run, one thread in place of the desktop's update and draw
// threads. Ticks run on a timer and before each frame, as many 10 ms ticks
// as the time passed asks (a handful at most, so a slow machine slows the
// world rather than the tab); a frame is drawn on each of the browser's
// animation frames. A recorded run keeps its records in memory and hands
// them to the page at its end.
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
// Past this many ticks in one go, or this long spent on them, the world
// falls behind real time: slow ticks leave time for frames and input.
const int kMaxTicksAtOnce = 10;
const double kMaxTickingMillis = 12.0;
const double kReportPeriodMillis = 1000.0;

double s_dLastTicked = 0.0;
double s_dTickBank = 0.0;
double s_dLastReport = 0.0;
int s_iUpdateCount = 0;
int s_iDrawCount = 0;
// The latest report's caption, shown until the next, and whether the text
// shown holds the overlay.
std::string s_caption;
bool s_bHudShown = false;
// A recorded run's records: the page has no files to write but downloads.
recording::MemorySink s_recorded;
bool s_bRecording = false;
// Between the live run's start and its end, which must come once.
bool s_bLive = false;
// Ticks the run has taken: a recording's length.
long s_iTicksRun = 0;

// The statistics the desktop shows in its caption and overlay go to the
// page's own text; an empty text hides it. Rewriting the text costs the page
// a layout and a repaint, as much as drawing the world in a software
// renderer, so it is rewritten only with a new report or when the overlay is
// turned on or off, not on every frame.
void showStats()
{
    const bool newReport = liveStats::newCaption(s_caption);
    if (!newReport && cfg::showHud() == s_bHudShown)
        return;
    s_bHudShown = cfg::showHud();
    std::string overlay;
    if (s_bHudShown)
        for (std::string const& line : liveStats::overlayLines())
            overlay += line + "\n";
    EM_ASM({ if (Module.onStats) Module.onStats(UTF8ToString($0), UTF8ToString($1)); }, s_caption.c_str(),
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
    showStats();
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

// Whether the run goes on after the ticks the time passed asks for.
bool runTicks(double now)
{
    // The time scale sets how many ticks a stretch of real time asks for.
    s_dTickBank += (now - s_dLastTicked) * cfg::timeScale();
    s_dLastTicked = now;
    for (int ticks = 0; s_dTickBank >= kTickMillis && ticks < kMaxTicksAtOnce &&
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
    // Time that could not be caught up with is let go.
    s_dTickBank = std::min(s_dTickBank, kTickMillis);
    return true;
}

// Ticks run on a timer of their own as well as before each frame, as the
// desktop's update thread keeps time whatever the frame rate: a renderer slow
// to show frames (a software one draws thousands of balls at a few frames a
// second) would otherwise hold the world to its frame rate.
void pump(void*)
{
    if (!s_bLive)
        return;
    if (!runTicks(emscripten_get_now())) {
        end();
        return;
    }
    // Reported from here too: frames may come seldom.
    report(emscripten_get_now());
    // Called again when the next tick is due.
    emscripten_async_call(pump, nullptr, static_cast<int>((kTickMillis - s_dTickBank) / cfg::timeScale()));
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
    s_dLastTicked = s_dLastReport = emscripten_get_now();
    // Returns at once: the browser calls frame() on every animation frame.
    emscripten_set_main_loop(frame, 0, 0);
    pump(nullptr);
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

// The page's move to another run: this one stops where it is, with no end
// (no verdict, no recording offered).
extern "C" EMSCRIPTEN_KEEPALIVE void ballpitLeave()
{
    s_bLive = false;
    emscripten_cancel_main_loop();
}
