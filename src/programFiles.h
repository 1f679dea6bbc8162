#pragma once

#include <string>
#include <vector>

// Where the program's own files live beside the working directory: the
// user's configuration and data directories, and the installed share
// directory. Each is empty when it cannot be known.
//
// The key file and the scenes are looked for in one order: under the working
// directory first (so a run from the repository, as `make run`, takes the
// repository's files), then the user's own, then the installed ones.
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

// The directories a file is looked for in, in that order: `inWorkingDir`
// (relative), `user` and installedDir()/`installedSub`; those that cannot be
// known are left out.
std::vector<std::string> searchOrder(std::string const& inWorkingDir, std::string const& user,
                                     std::string const& installedSub);
// DIR/`name` for the first DIR of `dirs` where it exists as a file; empty
// when there is none.
std::string firstFile(std::vector<std::string> const& dirs, std::string const& name);

// Whether `path` names something that exists and is not a directory (a device
// or a pipe counts: reading bounds what it gives).
bool existsAsFile(std::string const& path);

}  // namespace programFiles
