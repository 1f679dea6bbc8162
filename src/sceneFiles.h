#pragma once

#include <string>
#include <vector>

namespace scene {
struct Scene;
}

// Where scenes are found and saved: a path, or NAME.scene in the first of
// these that has it, in the order of programFiles::searchOrder: the presets
// under the working directory (scenes/, as in the repository), the user's
// saved scenes (programFiles::dataDir()/scenes), the installed presets
// (programFiles::installedDir()/scenes).
namespace sceneFiles {

// Where scenes are looked for, in order: the presets under the working
// directory, the saved scenes, the installed presets (the order programFiles
// gives every file of the program).
std::vector<std::string> directories();

// The file a scene named on the command line is read from: NAME itself when
// it holds a '/' or names something that exists; else NAME.scene where the
// search order finds it first. Empty when there is none.
std::string find(std::string const& name);

// Finds the scene and reads it; false, with "FILE:LINE: reason" (or
// "NAME:0: no such scene ..."), when there is none or it is no scene.
bool load(std::string const& name, scene::Scene& scene, std::string& error);

struct Entry {
    std::string name;
    std::string path;
};
// The presets, then the saved scenes, each in the order of their names; a
// name given twice is listed where find takes it from.
std::vector<Entry> list();

// Writes `text` to `path` whole, or leaves what was there: false, with a
// one-line reason, when it cannot.
bool write(std::string const& path, std::string const& text, std::string& error);
// Writes `text` as a new saved scene named by the local date and time, and
// gives its path.
bool save(std::string const& text, std::string& path, std::string& error);

}  // namespace sceneFiles
