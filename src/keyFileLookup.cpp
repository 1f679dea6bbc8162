#include "keyFileLookup.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace keyFileLookup {

namespace {

const char kProgramDir[] = "ballpit";

std::string configHomeFile(std::string const& name)
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (configHome != nullptr && configHome[0] == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0')
            return std::string();
        base = std::filesystem::path(home) / ".config";
    }
    return (base / kProgramDir / name).string();
}

std::string installedDefault(std::string const& name)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::string();
    return (program.parent_path().parent_path() / "share" / kProgramDir / name).string();
}

}  // namespace

std::string find(std::string const& inWorkingDir, std::string const& name)
{
    for (std::string const& candidate : {inWorkingDir, configHomeFile(name), installedDefault(name)})
        if (existsAsFile(candidate))
            return candidate;
    return inWorkingDir;
}

bool existsAsFile(std::string const& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace keyFileLookup
