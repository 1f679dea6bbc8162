#pragma once

#include <string>

// Where the key file comes from. The first of these that is a file (not a
// directory) is read:
//   1. configs/keys.cfg under the working directory;
//   2. $XDG_CONFIG_HOME/ballpit/keys.cfg, or ~/.config/ballpit/keys.cfg when
//      XDG_CONFIG_HOME is unset, empty or not an absolute path;
//   3. the installed default: <prefix>/share/ballpit/keys.cfg for a program
//      running as <prefix>/bin/ballpit. The prefix is taken from the running
//      executable, so an unpacked or relocated tree finds its own default.
namespace lookup {

// The path to read: `explicitPath` when given, whether it exists or not;
// otherwise the first candidate above; when there is none, configs/keys.cfg,
// so that opening it fails with the message a missing key file always gave.
std::string keyFile(const char* explicitPath = nullptr);

// Whether `path` names something that exists and is not a directory (a device
// or a pipe counts: reading bounds what it gives).
bool existsAsFile(std::string const& path);

}  // namespace lookup
