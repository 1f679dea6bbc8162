#include "keyFileLookup.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "reader.h"

namespace lookup {

namespace {

const char kProgramDir[] = "ballpit";

std::string configHomeFile()
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
    return (base / kProgramDir / testFile).string();
}

std::string installedDefault()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::string();
    return (program.parent_path().parent_path() / "share" / kProgramDir / testFile).string();
}

}  // namespace

std::string keyFile(const char* explicitPath)
{
    if (explicitPath != nullptr)
        return explicitPath;
    const std::string inWorkingDir = std::string(configDir) + testFile;
    for (std::string const& candidate : {inWorkingDir, configHomeFile(), installedDefault()})
        if (existsAsFile(candidate))
            return candidate;
    return inWorkingDir;
}

bool existsAsFile(std::string const& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace lookup
