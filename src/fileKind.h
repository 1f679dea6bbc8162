#pragma once

#include <string>

// What a file handed to the program holds, told by its first bytes and never
// by its name: a file manager may pass a download of any name.
namespace fileKind {

enum class Kind { scene, recording };

// Reads the first bytes of `path`, a regular file: a pipe, a device or a
// directory is refused before anything is read, so nothing waits for a
// writer. False, with a one-line reason naming the file, when it cannot be
// read or is neither kind.
bool identify(std::string const& path, Kind& kind, std::string& error);

}  // namespace fileKind
