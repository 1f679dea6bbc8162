#pragma once

#include <string>

// A session recorded to a file or replayed from one, tick by tick, around
// the update thread's loop. Without either the loop takes live input as
// always.
namespace session {

// Exit statuses of a replay.
const int kIdentical = 0;
const int kBadRecording = 1;
const int kDiverged = 3;

// Main thread, before the worker threads start: the file named on the
// command line. False, with a one-line reason, when it cannot be opened (or,
// for a replay, is no recording this program reads).
bool openRecording(std::string const& path, std::string& error);
bool openReplay(std::string const& path, std::string& error);
bool replaying();

// Update thread, once at start-up, where the key file would be read for a
// live session: a replay puts the recorded bindings in force instead. False,
// with a reason, when they name a binding this program does not have.
bool useRecordedBindings(std::string& error);
// Update thread, once the bindings are in force: a recording starts with them.
void beginRecording();

// Update thread, first in every tick: this tick's input, live (and recorded,
// when recording) or replayed. False when there is no tick to run: the
// replay reached its last tick, found a fault, or a person stopped it with
// the end key or by closing the window.
bool takeInput();
// Update thread, after every tick: the checks of a recording or a replay.
// False when a replay must stop: it diverged or reached its end.
bool endTick();
// After the last tick: a recording is finished; a replay prints its verdict
// line and gives the exit status.
int finish();

// A replay without a window or a display, on the calling thread, as fast as
// the machine goes; prints the verdict, the final hash and the ticks per
// second, and gives the exit status.
int replayHeadless();

}  // namespace session
