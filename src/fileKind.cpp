#include "fileKind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "recordFormat.h"
#include "scene.h"

namespace fileKind {

namespace {

// A scene's first line: the magic, a space, the version.
const std::string kSceneStart = std::string(scene::kMagic) + " ";
// sizeof counts the scene magic's terminating zero: room for the space.
const std::size_t kHeadBytes = std::max(sizeof scene::kMagic, sizeof recording::kMagic);

bool startsWith(std::string const& head, const char* magic, std::size_t bytes)
{
    return head.size() >= bytes && head.compare(0, bytes, magic, bytes) == 0;
}

// The reason the open file `fd` is no candidate, or empty when it is a
// regular file.
std::string refusal(int fd, std::string const& path)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return "cannot read " + path + ": " + std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return path + " is a directory, not a scene or a recording";
    if (!S_ISREG(info.st_mode))
        return path + " is a pipe or a device, not a scene or a recording";
    if (info.st_size == 0)
        return path + " is empty, not a scene or a recording";
    return "";
}

// Up to kHeadBytes from the start of `fd`; false, with errno set, on a
// read error.
bool readHead(int fd, std::string& head)
{
    char bytes[kHeadBytes];
    std::size_t got = 0;
    while (got < kHeadBytes) {
        const ssize_t n = ::read(fd, bytes + got, kHeadBytes - got);
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
    head.assign(bytes, got);
    return true;
}

}  // namespace

bool identify(std::string const& path, Kind& kind, std::string& error)
{
    // Non-blocking: opening a pipe with no writer would otherwise wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    error = refusal(fd, path);
    std::string head;
    if (error.empty() && !readHead(fd, head))
        error = "cannot read " + path + ": " + std::strerror(errno);
    ::close(fd);
    if (!error.empty())
        return false;
    if (startsWith(head, kSceneStart.data(), kSceneStart.size()))
        kind = Kind::scene;
    else if (startsWith(head, recording::kMagic, sizeof recording::kMagic))
        kind = Kind::recording;
    else
        error = path + " is neither a scene nor a recording";
    return error.empty();
}

}  // namespace fileKind
