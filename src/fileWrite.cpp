#include "fileWrite.h"

#include <unistd.h>

#include <cerrno>

namespace fileWrite {

int all(int fd, void const* data, std::size_t size)
{
    auto const* bytes = static_cast<unsigned char const*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, bytes + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace fileWrite
