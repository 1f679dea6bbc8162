#pragma once

#include <cstddef>

// Writing to a file descriptor in full.
namespace fileWrite {

// Writes all `size` bytes, however many calls it takes and through
// interrupted ones: 0, or the error that stopped it (EIO for a write that
// took nothing).
int all(int fd, void const* data, std::size_t size);

}  // namespace fileWrite
