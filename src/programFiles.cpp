#include "programFiles.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace programFiles {

namespace {

const char kProgramDir[] = "ballpit";

// $VARIABLE/ballpit, or ~/FALLBACK/ballpit.
std::string userDir(const char* variable, const char* fallback)
{
    const char* set = std::getenv(variable);
    std::filesystem::path base;
    if (set != nullptr && set[0] == '/') {
        base = set;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0')
            return std::string();
        base = std::filesystem::path(home) / fallback;
    }
    return (base / kProgramDir).string();
}

}  // namespace

std::string configDir()
{
    return userDir("XDG_CONFIG_HOME", ".config");
}

std::string dataDir()
{
    return userDir("XDG_DATA_HOME", ".local/share");
}

std::string installedDir()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::string();
    return (program.parent_path().parent_path() / "share" / kProgramDir).string();
}

std::vector<std::string> searchOrder(std::string const& inWorkingDir, std::string const& user,
                                     std::string const& installedSub)
{
    std::vector<std::string> dirs = {inWorkingDir};
    if (!user.empty())
        dirs.push_back(user);
    const std::string installed = installedDir();
    if (!installed.empty())
        dirs.push_back(installedSub.empty() ? installed : installed + "/" + installedSub);
    return dirs;
}

std::string firstFile(std::vector<std::string> const& dirs, std::string const& name)
{
    for (std::string const& dir : dirs)
        if (existsAsFile(dir + "/" + name))
            return dir + "/" + name;
    return std::string();
}

bool existsAsFile(std::string const& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace programFiles
