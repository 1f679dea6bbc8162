#pragma once

#include <cstddef>
#include <cstdint>

// FNV-1a, 64 bits: a hash of bytes that is the same on every machine, for the
// world's state and for checking a recording's bytes.
class Checksum {
public:
    void add(void const* bytes, std::size_t count);

    template <typename T>
    void addValue(T const& value)
    {
        add(&value, sizeof value);
    }

    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 14695981039346656037ull;
};
