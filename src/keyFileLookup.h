#pragma once

#include <string>

// Where a file of the program's, such as the key file NAME, comes from. The
// first of these that is a file (not a directory) is read:
//   1. the path given for the working directory (configs/NAME);
//   2. $XDG_CONFIG_HOME/ballpit/NAME, or ~/.config/ballpit/NAME when
//      XDG_CONFIG_HOME is unset, empty or not an absolute path;
//   3. the installed default: <prefix>/share/ballpit/NAME for a program
//      running as <prefix>/bin/ballpit. The prefix is taken from the running
//      executable, so an unpacked or relocated tree finds its own default.
namespace keyFileLookup {

// The first candidate above; when there is none, `inWorkingDir`, so that
// opening it fails with the message a missing file always gave.
std::string find(std::string const& inWorkingDir, std::string const& name);

// Whether `path` names something that exists and is not a directory (a device
// or a pipe counts: reading bounds what it gives).
bool existsAsFile(std::string const& path);

}  // namespace keyFileLookup
