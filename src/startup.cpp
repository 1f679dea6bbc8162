#include "startup.h"

#include <string>

#include "errorLine.h"
#include "scene.h"
#include "sceneFiles.h"
#include "session.h"

namespace startup {

namespace {

// The scene the command line names: read before anything starts, so that a
// bad one ends the program before a window opens.
bool useScene(std::string const& name, std::string& error)
{
    scene::Scene start;
    if (!sceneFiles::load(name, start, error))
        return false;
    session::useScene(start);
    return true;
}

}  // namespace

std::optional<int> openOrRunHeadless(commandLine::Options const& options, OpenRecording openRecording)
{
    if (options.historyMiB >= 0)
        session::useHistory(options.historyMiB);
    std::string error;
    if ((!options.scene.empty() && !useScene(options.scene, error)) ||
        (!options.recordFile.empty() && !openRecording(options.recordFile, error)) ||
        (!options.replayFile.empty() && !session::openReplay(options.replayFile, error))) {
        errorLine::print(error);
        return 1;
    }
    if (options.ticks >= 0)
        return session::runHeadless(options.ticks, options.saveFile);
    if (options.headless)
        return session::replayHeadless();
    return std::nullopt;
}

}  // namespace startup
