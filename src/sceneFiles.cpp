#include "sceneFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>

#include "fileWrite.h"
#include "programFiles.h"
#include "scene.h"

namespace sceneFiles {

namespace {

const char kExtension[] = ".scene";
const char kPresetsInWorkingDir[] = "scenes";

std::string savedDir()
{
    const std::string data = programFiles::dataDir();
    return data.empty() ? data : data + "/scenes";
}

// The scenes of a directory by name; earlier entries of `into` stay.
void collect(std::string const& dir, std::map<std::string, std::string>& into)
{
    std::error_code error;
    if (dir.empty() || !std::filesystem::is_directory(dir, error))
        return;
    for (auto const& entry : std::filesystem::directory_iterator(dir, error)) {
        const std::filesystem::path path = entry.path();
        if (path.extension() == kExtension && programFiles::existsAsFile(path.string()))
            into.emplace(path.stem().string(), path.string());
    }
}

std::string reason(std::string const& path, int error)
{
    return "cannot write " + path + ": " + std::strerror(error);
}

}  // namespace

std::vector<std::string> directories()
{
    return programFiles::searchOrder(kPresetsInWorkingDir, savedDir(), "scenes");
}

std::string find(std::string const& name)
{
    std::error_code error;
    if (name.find('/') != std::string::npos || std::filesystem::exists(name, error))
        return name;
    return programFiles::firstFile(directories(), name + kExtension);
}

bool load(std::string const& name, scene::Scene& scene, std::string& error)
{
    const std::string path = find(name);
    if (path.empty()) {
        error = name + ":0: no such scene: not a file, a saved scene or a preset (ballpit --scene list)";
        return false;
    }
    return scene::read(path, scene, error);
}

std::vector<Entry> list()
{
    std::map<std::string, std::string> found;
    for (std::string const& dir : directories())
        collect(dir, found);
    const std::string saved = savedDir();
    std::vector<Entry> presets;
    std::vector<Entry> savedScenes;
    for (auto const& [name, path] : found) {
        const bool isSaved = !saved.empty() && path.rfind(saved + "/", 0) == 0;
        (isSaved ? savedScenes : presets).push_back({name, path});
    }
    presets.insert(presets.end(), savedScenes.begin(), savedScenes.end());
    return presets;
}

bool write(std::string const& path, std::string const& text, std::string& error)
{
    // Written beside, then put in place: a full disk leaves no half scene.
    // Never in place of a device, a pipe or a directory.
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        error = "cannot write " + path + ": not a regular file";
        return false;
    }
    const std::string part = path + ".part";
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = reason(path, errno);
        return false;
    }
    int failure = fileWrite::all(fd, text.data(), text.size());
    if (failure == 0 && fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && std::rename(part.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(part.c_str());
        error = reason(path, failure);
        return false;
    }
    return true;
}

bool save(std::string const& text, std::string& path, std::string& error)
{
    const std::string dir = savedDir();
    if (dir.empty()) {
        error = "cannot save the world: neither XDG_DATA_HOME nor HOME names a directory";
        return false;
    }
    std::error_code made;
    std::filesystem::create_directories(dir, made);
    if (made) {
        error = "cannot save the world in " + dir + ": " + made.message();
        return false;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    path = dir + "/" + stamp + kExtension;
    for (int n = 2; programFiles::existsAsFile(path); ++n)
        path = dir + "/" + stamp + "-" + std::to_string(n) + kExtension;
    return write(path, text, error);
}

}  // namespace sceneFiles
