#include <SDL.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

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
#include "recordFile.h"
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
// Set before the threads start: the run is recorded to a file.
bool s_bRecording = false;
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

// exit() while the recording is open: another thread called it (Xlib does
// when the display is lost under the draw thread), the update thread is
// still running. The recording ends first; then the process ends with the
// same status without static destructors, which the threads still running
// would outlive.
void endRecordingAtExit(int status, void*)
{
    if (!recordFile::endSoon())
        return;
    // Not ended in time, and stuck taking its input: the display is gone,
    // and the update thread waits for it inside the event queue.
    if (!recordFile::closed() && session::takingInput())
        session::finishRecordingNow();
    debug::quit(status);
}

// On the update thread, before its first tick. SIGINT's handler waits for
// this thread's next tick boundary (recordFile::endSoon), so it must run on
// another one; the writer thread, started here, inherits the mask.
void startRecording()
{
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
    on_exit(endRecordingAtExit, nullptr);
    recordFile::start();
}

// The thread that asked for the recording's end ends the process: this
// one, its recording closed, stops for good, the world untouched.
[[noreturn]] void park()
{
    for (;;)
        pause();
}

int startUpdateThread(void*)
{
    waitFor(s_bDrawInitialized, kHandshakePollMillis);
    if (s_bRecording)
        startRecording();
    session::start(true);
    DPF(0, "Initialization Complete");
    s_bUpdateInitialized.store(true, std::memory_order_release);
    s_micLastSecond = tickCountMicro();
    while (s_bIsRunning.load()) {
        const int start = tickCountMicro();
        const session::Ran ran = session::tick();
        if (recordFile::closed())
            park();
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

// The file named on the command line, written by a thread of its own.
bool openRecording(std::string const& path, std::string& error)
{
    if (!recordFile::open(path, error))
        return false;
    session::recordInto(recordFile::sink());
    s_bRecording = true;
    return true;
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
        const std::vector<sceneFiles::Entry> scenes = sceneFiles::list();
        for (sceneFiles::Entry const& entry : scenes)
            std::cout << entry.name << "\t" << entry.path << "\n";
        // An empty list would look like success to a person whose program
        // cannot see its presets (a build tree run from elsewhere).
        if (scenes.empty()) {
            std::cerr << "ballpit: no scenes found; looked in";
            const char* separator = " ";
            for (std::string const& dir : sceneFiles::directories()) {
                std::cerr << separator << dir;
                separator = ", ";
            }
            std::cerr << std::endl;
        }
        return 0;
    }
    if (const std::optional<int> status = startup::openOrRunHeadless(options, openRecording))
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
