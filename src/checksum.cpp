#include "checksum.h"

void Checksum::add(void const* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= static_cast<unsigned char const*>(bytes)[i];
        hash *= 1099511628211ull;
    }
}
