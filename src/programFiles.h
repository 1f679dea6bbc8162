#pragma once

#include <string>

// Where the program's own files live beside the working directory: the
// user's configuration and data directories, and the installed share
// directory. Each is empty when it cannot be known.
namespace programFiles {

// $XDG_CONFIG_HOME/ballpit, or ~/.config/ballpit when XDG_CONFIG_HOME is
// unset, empty or not an absolute path.
std::string configDir();
// $XDG_DATA_HOME/ballpit, or ~/.local/share/ballpit likewise.
std::string dataDir();
// <prefix>/share/ballpit for a program running as <prefix>/bin/ballpit (or
// <prefix>/games/ballpit). The prefix is taken from the running executable,
// so an unpacked or relocated tree finds its own.
std::string installedDir();

// Whether `path` names something that exists and is not a directory (a device
// or a pipe counts: reading bounds what it gives).
bool existsAsFile(std::string const& path);

}  // namespace programFiles
