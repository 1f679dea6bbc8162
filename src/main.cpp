#include <SDL.h>
#include <atomic>
#include <iostream>
#include <optional>
#include <string>

#include "commandLine.h"
#include "config.h"
#include "debug.h"
#include "game.h"
#include "graphics.h"
#include "gridView.h"
#include "handleSignal.h"
#include "liveStats.h"
#include "overlay.h"
#include "reader.h"
#include "sceneFiles.h"
#include "session.h"
#include "startup.h"
#include "threadPriority.h"
#include "ticks.h"

namespace {

const int kHandshakePollMillis = 100;
const int kReportPeriodMicro = 999999;
// How far the draw thread, and the renderer's threads it starts, stand below
// the update thread when both want a processor.
const int kDrawPriorityDrop = 5;

std::atomic<bool> s_bIsRunning{false};
std::atomic<bool> s_bDrawInitialized{false};
std::atomic<bool> s_bUpdateInitialized{false};
// Set once the draw thread has left its frame loop: the world may then be
// torn down without a frame drawing it.
std::atomic<bool> s_bDrawStopped{false};
std::atomic<int> s_iDrawCount{0};
// Set by the update thread as it ends, read by main after joining it: a
// replay's verdict.
int s_iExitStatus = 0;
int s_iUpdateCount = 0;
int s_iFPS = 0;
int s_iUPS = 0;
int s_micLastSecond = 0;
float s_fAccDrawWait = 0.0f;
float s_fAccUpdateWait = 0.0f;

void waitFor(std::atomic<bool> const& flag, int pollMillis)
{
    while (!flag.load(std::memory_order_acquire))
        SDL_Delay(pollMillis);
}

void pace(int start, float& bank, float budgetMicro = kIterationBudgetMicro)
{
    const int sleepMillis = pacingSleepMillis(bank, tickDifference(tickCountMicro(), start), budgetMicro);
    if (sleepMillis > 0)
        SDL_Delay(sleepMillis);
}

void report()
{
    if (tickDifference(tickCountMicro(), s_micLastSecond) <= kReportPeriodMicro)
        return;
    s_iUPS = s_iUpdateCount;
    // One exchange, so a frame counted meanwhile is kept for the next period.
    s_iFPS = s_iDrawCount.exchange(0);
    s_iUpdateCount = 0;
    s_micLastSecond = tickCountMicro();
    if (cfg::showFPS())
        std::cout << "fps:\t" << s_iFPS << std::endl;
    if (cfg::showUPS())
        std::cout << "ups:\t" << s_iUPS << std::endl;
    liveStats::report(s_iUPS, s_iFPS);
}

// What the draw thread adds to the world's frame: the grid under the
// bodies, the overlay over them, and the caption.
void drawTools()
{
    if (cfg::showGrid())
        gridView::draw();
    if (cfg::showHud())
        overlay::draw(liveStats::overlayLines());
    std::string caption;
    if (liveStats::newCaption(caption))
        SDL_WM_SetCaption(caption.c_str(), nullptr);
}

int startDrawThread(void*)
{
    // Before the window exists, so that a software renderer's worker threads,
    // started with the context, inherit it. Refused, frames simply compete.
    threadPriority::lowerCurrentThread(kDrawPriorityDrop);
    graphics::init();
    DPF(0, "Graphics initialized");
    s_bDrawInitialized.store(true, std::memory_order_release);
    waitFor(s_bUpdateInitialized, kHandshakePollMillis);
    while (s_bIsRunning.load()) {
        const int start = tickCountMicro();
        game::draw();
        drawTools();
        // SDL 1.2 reads the window's events from the display connection of
        // the thread that made the window, so this thread pumps them into
        // the queue and the update thread takes them from there.
        SDL_PumpEvents();
        graphics::present();
        s_iDrawCount.fetch_add(1);
        pace(start, s_fAccDrawWait);
    }
    s_bDrawStopped.store(true, std::memory_order_release);
    DPF(0, "Draw Thread Cleaning");
    overlay::clean();
    graphics::clean();
    return 0;
}

int startUpdateThread(void*)
{
    waitFor(s_bDrawInitialized, kHandshakePollMillis);
    session::start(true);
    DPF(0, "Initialization Complete");
    s_bUpdateInitialized.store(true, std::memory_order_release);
    s_micLastSecond = tickCountMicro();
    while (s_bIsRunning.load()) {
        const int start = tickCountMicro();
        const session::Ran ran = session::tick();
        if (ran == session::Ran::none) {
            s_bIsRunning.store(false);
            break;
        }
        // The tick that ends the run is still counted, reported and paced.
        if (ran == session::Ran::lastTick)
            s_bIsRunning.store(false);
        ++s_iUpdateCount;
        report();
        // The time scale sets how many ticks run per second, never the tick.
        pace(start, s_fAccUpdateWait, kIterationBudgetMicro / cfg::timeScale());
    }
    DPF(0, "Update Thread Cleaning");
    // No frame may draw the world while it is deleted.
    waitFor(s_bDrawStopped, 1);
    s_iExitStatus = session::stop();
    return 0;
}

SDL_Thread* startThread(int (*entry)(void*), const char* name)
{
    SDL_Thread* thread = SDL_CreateThread(entry, nullptr);
    if (thread == nullptr) {
        std::cerr << "could not create the " << name << " thread: " << SDL_GetError() << std::endl;
        debug::quit(1);
    }
    return thread;
}

}  // namespace

int main(int argc, char** argv)
{
    const commandLine::Options options = commandLine::parse(argc, argv);
    if (!options.keysFile.empty())
        useKeyFile(options.keysFile);
    if (options.help || options.version) {
        if (options.help)
            commandLine::printHelp(std::cout);
        else
            commandLine::printVersion(std::cout);
        return 0;
    }
    if (options.scene == "list") {
        for (sceneFiles::Entry const& entry : sceneFiles::list())
            std::cout << entry.name << "\t" << entry.path << "\n";
        return 0;
    }
    if (const std::optional<int> status = startup::openOrRunHeadless(options))
        return *status;
    installSignal();
    debug::init();
    s_bIsRunning.store(true);
    SDL_Thread* updateThread = startThread(startUpdateThread, "update");
    SDL_Thread* drawThread = startThread(startDrawThread, "draw");
    SDL_WaitThread(updateThread, nullptr);
    SDL_WaitThread(drawThread, nullptr);
    debug::clean();
    return s_iExitStatus;
}
