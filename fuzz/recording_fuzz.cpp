// libFuzzer target for the recording reader: the input is a whole file. It is
// read to its verdict as a replay reads it; the reader must end, whatever the
// bytes, without a crash, a sanitizer report or an endless stream of records.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "recordReader.h"

namespace {

std::string s_path;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* dir = std::getenv("TMPDIR");
    s_path = std::string(dir != nullptr ? dir : "/tmp") + "/recording-fuzz-" + std::to_string(getpid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(s_path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    recording::Reader reader;
    std::string error;
    if (!reader.open(s_path, error))
        return 0;
    // Each record takes at least one byte of the file.
    for (std::size_t records = 0; records <= size; ++records) {
        recording::Input in;
        std::uint32_t ticks = 0;
        std::uint64_t hash = 0;
        const auto next = reader.next(in, ticks, hash, error);
        if (next != recording::Reader::Next::input && next != recording::Reader::Next::check)
            return 0;
        if (next == recording::Reader::Next::input && in.statuses.size() != reader.bindings().size())
            std::abort();
    }
    std::abort();
}
