#include "commandLine.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <iostream>

#include "debug.h"
#include "errorLine.h"
#include "fileKind.h"
#include "keys.h"
#include "reader.h"
#include "recordFormat.h"

namespace commandLine {

namespace {

// What the usage error ends with: the code for a command used wrongly.
const int kUsageStatus = 64;
const char kUsage[] =
    "usage: ballpit [--keys FILE] [--scene NAME|FILE|list] [--history MiB] [--record FILE | --replay FILE "
    "[--headless] | --headless --ticks N [--save FILE]] [--help] [--version] [[--] FILE]";
// More ticks than a headless run could take in a day.
const long kMostTicks = 1000000000;

// A key's name in key files; a function key, which has none there, by its
// label.
std::string nameOf(SDLKey code)
{
    if (code >= SDLK_F1 && code <= SDLK_F15)
        return "F" + std::to_string(code - SDLK_F1 + 1);
    return keyName(code);
}

[[noreturn]] void usageError(std::string const& problem)
{
    errorLine::print(problem + "; " + kUsage);
    debug::quit(kUsageStatus);
}

// The argument after an option that needs one.
std::string argumentOf(int argc, char** argv, int& i, const char* what = "a file")
{
    const std::string option = argv[i];
    if (i + 1 == argc || argv[i + 1][0] == '\0')
        usageError(option + " needs " + what);
    return argv[++i];
}

// The file named without an option stands for --scene FILE or --replay FILE,
// whichever its first bytes say it is.
void useFile(std::string const& file, Options& options)
{
    if (!options.scene.empty() || !options.replayFile.empty())
        usageError("a file excludes " + std::string(options.scene.empty() ? "--replay" : "--scene"));
    fileKind::Kind kind = fileKind::Kind::scene;
    std::string error;
    if (!fileKind::identify(file, kind, error)) {
        errorLine::print(error);
        debug::quit(1);
    }
    // A scene is named with a '/', so that it is read as this file, never
    // taken for a saved scene, a preset or 'list' of that name, even should
    // it vanish meanwhile.
    if (kind == fileKind::Kind::recording)
        options.replayFile = file;
    else
        options.scene = file.find('/') == std::string::npos ? "./" + file : file;
}

// A whole number from 0 to `most`, else a usage error naming the option.
long wholeOf(std::string const& text, long most, const char* option, const char* what)
{
    const bool digits = !text.empty() && text.size() <= 10 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const long value = digits ? std::stol(text) : -1;
    if (value < 0 || value > most)
        usageError(std::string(option) + " takes a whole number of " + what + " up to " + std::to_string(most) +
                   ", not '" + text + "'");
    return value;
}

}  // namespace

Options parse(int argc, char** argv)
{
    Options options;
    std::string file;
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (filesOnly || arg[0] != '-') {
            if (arg[0] == '\0')
                usageError("an empty name is no file");
            if (!file.empty())
                usageError("one file at most, not both '" + file + "' and '" + arg + "'");
            file = arg;
        } else if (std::strcmp(arg, "--") == 0) {
            filesOnly = true;
        } else if (std::strcmp(arg, "--keys") == 0) {
            options.keysFile = argumentOf(argc, argv, i);
        } else if (std::strcmp(arg, "--scene") == 0) {
            options.scene = argumentOf(argc, argv, i, "a scene");
        } else if (std::strcmp(arg, "--record") == 0) {
            options.recordFile = argumentOf(argc, argv, i);
        } else if (std::strcmp(arg, "--replay") == 0) {
            options.replayFile = argumentOf(argc, argv, i);
        } else if (std::strcmp(arg, "--ticks") == 0) {
            options.ticks = wholeOf(argumentOf(argc, argv, i, "a number"), kMostTicks, "--ticks", "ticks");
        } else if (std::strcmp(arg, "--history") == 0) {
            options.historyMiB = static_cast<int>(
                wholeOf(argumentOf(argc, argv, i, "a number"), recording::kMostHistoryMiB, "--history", "MiB"));
        } else if (std::strcmp(arg, "--save") == 0) {
            options.saveFile = argumentOf(argc, argv, i);
        } else if (std::strcmp(arg, "--headless") == 0) {
            options.headless = true;
        } else if (std::strcmp(arg, "--help") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
        } else {
            usageError(std::string("unknown option '") + arg + "'");
        }
    }
    if (!file.empty())
        useFile(file, options);
    const bool replay = !options.replayFile.empty();
    const bool run = options.ticks >= 0;
    if (!options.recordFile.empty() && (replay || options.headless))
        usageError(replay ? "--record and --replay exclude each other" : "--record and --headless exclude each other");
    if (options.headless && replay == run)
        usageError(run ? "--replay and --ticks exclude each other" : "--headless goes with --replay or --ticks");
    if (run && !options.headless)
        usageError("--ticks goes with --headless");
    if (!options.saveFile.empty() && !run)
        usageError("--save goes with --ticks");
    if (!options.scene.empty() && replay)
        usageError("--scene and --replay exclude each other: a recording starts from its own scene");
    if (options.historyMiB >= 0 && (replay || run))
        usageError(replay ? "--history and --replay exclude each other: a recording keeps its own history"
                          : "--history goes with a run that takes input, not --ticks");
    return options;
}

void printHelp(std::ostream& out)
{
    out << kUsage << "\n\n"
        << "An interactive 2-D physics sandbox: balls, a triangle, gravity and a gravity well.\n\n"
        << "  --keys FILE    read the key bindings from FILE instead of looking for a key file\n"
        << "  --scene NAME   start from a scene: a file, a saved scene or a preset; 'list' lists them\n"
        << "  --history MiB  the memory the rewind key's history may take (default 256; 0: no\n"
        << "                 rewinding); it reaches back 60 s at most\n"
        << "  --record FILE  record the session to FILE, to be replayed exactly\n"
        << "  --replay FILE  replay a recorded session at its pace; ends with status 0 if the\n"
        << "                 world stayed identical to the recording, 3 if it diverged\n"
        << "  --headless     with --replay: no window, as fast as the machine goes; with\n"
        << "                 --ticks N: run N ticks without input and print the world's hash\n"
        << "  --save FILE    with --ticks: write the world at the end as a scene\n"
        << "  --help         print this help and exit\n"
        << "  --version      print the version and exit\n"
        << "  FILE           a scene to start from (as --scene FILE) or a recording to replay (as\n"
        << "                 --replay FILE), told apart by its first bytes; after --, FILE may\n"
        << "                 start with '-'\n\n";
    key::init();
    createKeyMap();
    const std::string path = keyFilePath();
    if (applyKeyFile(path))
        out << "Keys, as " << path << " sets them:\n";
    else
        out << "Keys (the defaults: " << path << " cannot be opened, so the program would not start):\n";
    for (key::Binding const& binding : key::kBindings) {
        const std::string name = nameOf(*binding.key);
        out << "  " << binding.name << std::string(8 - std::strlen(binding.name), ' ') << name
            << std::string(name.size() < 12 ? 12 - name.size() : 1, ' ') << binding.effect << "\n";
    }
    out << "\nMouse: the left button, held, adds balls; the right button, held, removes them; the middle\n"
        << "button, held, grabs the ball under the pointer, which flies on when let go.\n";
}

void printVersion(std::ostream& out)
{
    out << "ballpit " << BALLPIT_VERSION << "\n";
}

}  // namespace commandLine
