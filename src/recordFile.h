#pragma once

#include <string>

namespace recording {
class Sink;
}

// The desktop program's recording sink: a file, written by a thread of its
// own. The records wait in memory and that thread writes them, and syncs
// them to the disk, at least every half second and at the end, so that no
// tick waits for the disk and a process killed (or a machine that loses
// power) loses at most the last half second. A write that fails is reported
// once on standard error and recording stops; the program goes on.
namespace recordFile {

// Main thread, before the run: creates or empties the file; false, with a
// one-line reason, when it cannot.
bool open(std::string const& path, std::string& error);
// The sink to hand the run.
recording::Sink& sink();
// Starts the writer thread; it inherits the calling thread's signal mask.
// Nothing starts, and nothing is written, after an end that came before it
// (see endSoon): the process is on its way out.
void start();

// An end that comes from outside the thread running the ticks: a SIGINT, or
// exit() called on another thread. The run ends the recording at its next
// tick boundary (the sink asks it to), so that the recording holds every
// tick that ran and its end record.
//
// Async-signal-safe: asks for that end and waits until the recording is
// closed, at most half a second (a stuck tick then loses the tail, no more
// than a kill would). False, at once, when no recording is open; a recording
// that had not started then never does.
bool endSoon();
// The recording is closed: after an end endSoon asked, before the run's
// own end.
bool closed();

}  // namespace recordFile
