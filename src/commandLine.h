#pragma once

#include <iosfwd>
#include <string>

// The program's options. With none it runs exactly as it always has.
namespace commandLine {

struct Options {
    std::string keysFile;  // empty: the usual key file
    std::string scene;     // a scene's name or file, or "list"; empty: the starting scene
    std::string recordFile;
    std::string replayFile;
    bool headless = false;  // with a replay or with ticks
    long ticks = -1;        // a headless run's ticks; -1: none
    std::string saveFile;   // where a headless run saves the world
    int historyMiB = -1;    // the history's memory cap; -1: the default
    bool help = false;
    bool version = false;
};

// An unknown option or a missing argument ends the process with one usage
// line on standard error and status 64. A file named without an option (a
// name starting with '-' only after "--") becomes `scene` or `replayFile` by
// its first bytes; one that is neither ends the process with one line and
// status 1.
Options parse(int argc, char** argv);

// The usage line, every option, and every binding with the key the key file
// in force gives it (the defaults, said so, when there is none).
void printHelp(std::ostream& out);
void printVersion(std::ostream& out);

}  // namespace commandLine
