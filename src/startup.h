#pragma once

#include <optional>
#include <string>

#include "commandLine.h"

// What the command line asks of a run before it starts, the same for the
// desktop's driver and the page's.
namespace startup {

// The driver's way to record the run into `path`: the sink handed to the
// session; false, with a one-line reason, when it cannot be opened.
using OpenRecording = bool (*)(std::string const& path, std::string& error);

// Opens the scene, the recording to make (through `openRecording`) and the
// one to replay that the options name, in that order, then runs the headless
// run they ask for. Gives the exit status when the program ends here: 1,
// with "ballpit: reason" on standard error, when something named cannot be
// used, or the headless run's status; nothing when the live run is to start.
std::optional<int> openOrRunHeadless(commandLine::Options const& options, OpenRecording openRecording);

}  // namespace startup
