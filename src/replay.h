#pragma once

#include <cstdint>
#include <string>

#include "inputManager.h"

// A recording replayed: its bindings in force, each tick's input from it,
// the world checked against every hash it holds, and the verdict.
namespace replay {

// Exit statuses.
const int kIdentical = 0;
const int kBadRecording = 1;
const int kDiverged = 3;

// Before the run: opens the recording and reads its header; false, with a
// one-line reason, when it cannot be opened, is no recording this program
// reads or names a binding this program does not have.
bool open(std::string const& path, std::string& error);
// The text of the scene the recording starts from; empty for the starting
// scene.
std::string const& sceneText();
// The memory cap of the history the recorded session kept, in MiB: where a
// rewind stops depends on it.
std::uint32_t historyMiB();
// At start: the recorded bindings are the ones in force, and a binding the
// recording does not name has no key.
void useBindings();

// The input of the tick after `ticks` ticks; false when there is none: the
// replay reached its end, found a fault, or a person stopped it with the end
// key or by closing the window.
bool next(std::uint32_t ticks, input::Frame& in);
// After a tick, `ticks` in all: reads on to the next tick's input, checking
// the world against every hash on the way; false, with the verdict, once
// there is none.
bool afterTick(std::uint32_t ticks);
// After the last tick: prints the verdict (a stop before the recording's end
// when there is none yet) and gives the exit status.
int conclude(std::uint32_t ticks);

}  // namespace replay
