#pragma once

#include <string>

namespace input {
struct Frame;
}
namespace recording {
class Sink;
}
namespace scene {
struct Scene;
}

// A run of the world, tick by tick: its start-up, its ticks and its end, the
// same for the live program, a replay in the window and a replay without
// one. Where each tick's input comes from is chosen once, at start: the
// platform, the platform and a recording of it, a recording being replayed,
// or nothing (a headless run). Nothing here blocks, sleeps or touches
// signals or threads: the program that drives the run decides how it ends.
namespace session {

// Before the run starts: the run is recorded into `sink` (the driver's: a
// file, memory), which must outlive it.
void recordInto(recording::Sink& sink);
// A replay starts from the scene its recording names; false, with a
// one-line reason, when the file cannot be opened or is no recording this
// program reads.
bool openReplay(std::string const& path, std::string& error);
// The run starts, and a reset returns, to this scene instead of the starting
// one; a recording carries it.
void useScene(scene::Scene const& scene);

// The memory cap of the history that rewinding goes back through, in MiB
// (0: none, no rewinding), for a live run and a recording, which carries
// it; a replay keeps the recording's, a headless run none.
const int kDefaultHistoryMiB = 256;
void useHistory(int mebibytes);

// The world as it stands, as a scene: its bodies and the gravity well.
scene::Scene worldScene();

// On the thread that runs the ticks, once: the world, input, the bindings in
// force (the key file's; in a replay, the recording's) and a recording's
// header, each followed by its status line when `announce` is set. A key
// file that cannot be used ends the process with status 1.
void start(bool announce);

enum class Ran {
    tick,      // a tick ran
    lastTick,  // a tick ran, and it ends the run: the end key, the window
               // closed, or a replay diverged or reached its end
    none,      // no tick ran: the replay is over or a person stopped it
};

// One tick: its input taken, the step, the world saved as a scene when the
// save key asks (not in a replay), then the checks of a recording or a
// replay. A recording whose sink asks for its end is finished here, and the
// tick ends the run.
Ran tick();

// Whether a recorded tick is taking the platform's events, before it records
// them.
bool takingInput();
// The recording finished where the run stands, from another thread while
// the ticking one is stuck taking a tick's input, for a process on its way
// out: Xlib ends the process from whichever thread finds the display lost,
// and holds the display, so the other one, waiting for events, never
// reaches the next tick to end the recording itself.
void finishRecordingNow();

// What a tick runs with its input: the input applied, the control flags, the
// game's input and update (or, while the rewind key is held, the world one
// tick back) and the history.
void step(input::Frame const& in);
// A tick of the world from its input alone, as step runs it forwards but
// without the view keys, the history or the figures: what the history runs
// again to go back.
void stepWorld(input::Frame const& in);

// After the last tick: a recording is finished and a replay prints its
// verdict; then the flags, input and the world are cleaned up. No frame may
// draw the world by then. Gives the exit status.
int stop();

// A replay without a window or a display, on the calling thread, as fast as
// the machine goes; prints the verdict, the final hash and the ticks per
// second, and gives the exit status.
int replayHeadless();

// `ticks` ticks without input, without a window or a display, on the
// calling thread; prints "world: N ticks, hash H" and, with a file to save
// to, writes the world there as a scene. The exit status: 1 when the scene
// cannot be written.
int runHeadless(long ticks, std::string const& saveFile);

}  // namespace session
